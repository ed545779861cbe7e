#include "settings/Store.h"

#include "settings/Backend.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <cstdio>
#ifdef Q_OS_LINUX
#include <climits>
#include <unistd.h>
#endif

namespace morvex::settings {
namespace {

QString &chosenName() {
    static QString name;
    return name;
}

// The executable's file name as bytes, as the system stores it.
QByteArray executableFileName() {
#ifdef Q_OS_LINUX
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length > 0) {
        const QByteArray whole(path, length);
        return whole.mid(whole.lastIndexOf('/') + 1);
    }
#endif
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8();
}

QString executableName() {
    QByteArray name = executableFileName();
    const qsizetype dot = name.lastIndexOf('.');
    if (dot > 0)
        name.truncate(dot);
    if (name.isEmpty())
        return QStringLiteral("Morvex");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(name);
    if (!utf8.hasError())
        return decoded;
    // Not UTF-8: the stray bytes as %XX, so that the name stays its own.
    return QString::fromLatin1(name.toPercentEncoding(QByteArray(" !#$&'()+,;=@[]^`{}~")));
}

} // namespace

QString applicationName() {
    static const QString executable = executableName();
    return chosenName().isEmpty() ? executable : chosenName();
}

void useApplicationName(const QString &name) {
    chosenName() = name;
}

QString location() {
    return backend::location(applicationName());
}

void backend::report(const QString &line) {
    static QSet<QString> reported;
    if (reported.contains(line))
        return;
    reported.insert(line);
    std::fprintf(stderr, "%s: %s\n", qPrintable(applicationName()), qPrintable(line));
}

Store Store::read() {
    Store store;
    store.entries_ = backend::read(applicationName());
    return store;
}

QString Store::value(const QString &section, const QString &key,
                     const QString &defaultValue) const {
    for (auto entry = entries_.crbegin(); entry != entries_.crend(); ++entry)
        if (entry->section == section && entry->key == key)
            return entry->value;
    return defaultValue;
}

namespace {
Transaction *openTransaction = nullptr;
}

Transaction::Transaction() : outer_(openTransaction) {
    if (!outer_)
        openTransaction = this;
}

Transaction::~Transaction() {
    commit();
}

void Transaction::setValue(const QString &section, const QString &key, const QString &value) {
    (outer_ ? outer_->changes_ : changes_).append({section, key, value});
}

QString Transaction::commit() {
    if (committed_ || outer_)
        return {};
    committed_ = true;
    openTransaction = nullptr;
    return backend::write(applicationName(), changes_);
}

} // namespace morvex::settings
