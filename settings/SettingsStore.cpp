#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryFile>
#include <cstdio>
#include <memory>

namespace morvex::settings {
namespace {

// The one place that chooses the backend: an INI file per application name
// in the user's configuration directory, a section per group.
std::unique_ptr<QSettings> openStore(const QString &appName) {
    return std::make_unique<QSettings>(storePath(appName), QSettings::IniFormat);
}

bool failureReported = false;

void reportWriteFailure(const QString &path, QSettings::Status status) {
    if (failureReported)
        return;
    failureReported = true;
    const char *why = status == QSettings::FormatError ? "the file is not a settings file"
                                                       : "the file cannot be written";
    std::fprintf(stderr, "%s: settings not saved to %s: %s\n", qPrintable(applicationName()),
                 qPrintable(QDir::toNativeSeparators(path)), why);
}

// True unless the file exists and does not parse as settings. QSettings keeps
// the files it has parsed in a per-process cache and reports a parse error
// only to the instance that parsed, so a fresh copy is asked.
bool parsesAsSettings(const QString &path) {
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QTemporaryFile copy;
    if (!copy.open() || copy.write(file.readAll()) != file.size() || !copy.flush())
        return false;
    QSettings check(copy.fileName(), QSettings::IniFormat);
    check.allKeys();
    return check.status() == QSettings::NoError;
}

} // namespace

void resetFailureReport() {
    failureReported = false;
}

QString applicationName() {
    const QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty())
        return QStringLiteral("Morvex");
    return QFileInfo(path).completeBaseName();
}

QString storePath(const QString &appName) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           appName + QStringLiteral(".ini");
}

QString readSetting(const QString &appName, const QString &section, const QString &key,
                    const QString &defaultValue) {
    const auto store = openStore(appName);
    store->beginGroup(section);
    const QVariant value = store->value(key);
    if (!value.isValid())
        return defaultValue;
    // A hand-edited entry with an unquoted comma reads back as a list; the
    // user meant the text with its commas.
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

bool writeSetting(const QString &appName, const QString &section, const QString &key,
                  const QString &value) {
    // A file that does not parse as settings is left exactly as it is: the
    // store would otherwise replace it with only what it could make out.
    const QString path = storePath(appName);
    if (!parsesAsSettings(path)) {
        reportWriteFailure(path, QSettings::FormatError);
        return false;
    }
    const auto store = openStore(appName);
    store->beginGroup(section);
    store->setValue(key, value);
    store->endGroup();
    store->sync();
    if (store->status() != QSettings::NoError) {
        reportWriteFailure(store->fileName(), store->status());
        return false;
    }
    return true;
}

struct WriteGroup::Lock {
    explicit Lock(const QString &path) : file(path) {}
    QLockFile file;
};

namespace {
int groupDepth = 0; // groups may nest within one process; only the outer one locks
}

WriteGroup::WriteGroup(const QString &appName) : lock_(nullptr) {
    if (groupDepth++ > 0)
        return;
    const QString path = storePath(appName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    lock_ = new Lock(path + QStringLiteral(".writing.lock"));
    if (!lock_->file.tryLock(5000)) {
        delete lock_;
        lock_ = nullptr;
    }
}

WriteGroup::~WriteGroup() {
    --groupDepth;
    delete lock_; // unlocks
}

} // namespace morvex::settings
