// The settings as an INI file, <application name>.ini in the user's
// configuration folder. Only a regular file is ever read or replaced, and
// nothing waits for ever: whatever stands at that path, the program starts
// and closes.
#include "core/Export.h"
#include "settings/Backend.h"
#include "settings/IniDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvex::settings::backend {
namespace {

// A larger file is not one the program wrote: it is set aside unread.
constexpr qint64 MaxFileSize = 1024 * 1024;
// How long a save waits for another copy's lock; and how old a lock file
// is before it counts as left behind when no live process holds it (a copy
// killed after making the file but before writing who holds it). A live
// holder keeps a system lock on the file as well, which no age breaks.
constexpr std::chrono::milliseconds LockTimeout{2000}, StaleLockAge{1000};

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The regular file (or the place for a new one) that `path` stands for,
// following symbolic links. Empty, with the reason in `why`, when the path
// is anything else: a folder, a device, a pipe, a socket, a loop of links.
QString regularFile(const QString &path, QString &why) {
    QString current = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status;
        if (::lstat(QFile::encodeName(current).constData(), &status) != 0) {
            if (errno == ENOENT && QFileInfo(QFileInfo(current).absolutePath()).isDir())
                return current; // created at the first save
            why = errorText(errno);
            return {};
        }
        if (S_ISREG(status.st_mode))
            return current;
        if (!S_ISLNK(status.st_mode)) {
            why = QStringLiteral("it is not a regular file");
            return {};
        }
        const QString target = QFile::symLinkTarget(current); // absolute
        if (target.isEmpty()) {
            why = QStringLiteral("its link cannot be read");
            return {};
        }
        current = target;
    }
    why = QStringLiteral("its links go round in a loop");
    return {};
}

struct Contents {
    bool exists = false;
    std::optional<IniDocument> document; // nothing: not a settings file
};

// Reads a regular file without ever blocking: a pipe or device swapped in
// meanwhile is not read.
std::optional<Contents> readFile(const QString &path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return Contents{};
        report(QStringLiteral("settings not read from %1: %2").arg(path, errorText(errno)));
        return std::nullopt;
    }
    QFile file;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        report(QStringLiteral("settings not read from %1: it is not a regular file").arg(path));
        return std::nullopt;
    }
    Contents contents{true, std::nullopt};
    if (status.st_size <= MaxFileSize) {
        const QByteArray bytes = file.read(MaxFileSize + 1); // it may have grown since
        if (bytes.size() <= MaxFileSize)
            contents.document = IniDocument::parse(bytes);
    }
    return contents;
}

// The file's lock for one save, on <file>.lock, if it can be had within the
// timeout; a lock that a copy killed halfway left behind is taken over. A
// lock path that holds anything but a lock file (a folder, say) can never
// be had: that save goes on without waiting.
class Lock {
public:
    explicit Lock(const QString &path) : lock_(path) {
        lock_.setStaleLockTime(StaleLockAge);
        struct stat status;
        const bool usable = ::lstat(QFile::encodeName(path).constData(), &status) != 0
                                ? errno == ENOENT
                                : S_ISREG(status.st_mode);
        if (!usable || !lock_.tryLock(LockTimeout))
            report(QStringLiteral("settings lock %1 not had; saving without it").arg(path));
    }

private:
    QLockFile lock_;
};

// Moves a file that is not a settings file out of the way, to the first
// free name of <file>.damaged, <file>.damaged.1, …; its bytes stay as they
// are. Empty when that fails.
QString setAside(const QString &path) {
    for (int n = 0; n < 1000; ++n) {
        const QString kept =
            path + QStringLiteral(".damaged") + (n > 0 ? u'.' + QString::number(n) : QString());
        if (!QFileInfo::exists(kept) && !QFileInfo(kept).isSymLink() && QFile::rename(path, kept))
            return kept;
    }
    return {};
}

} // namespace

QString location(const QString &appName) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           appName + QStringLiteral(".ini");
}

Entries read(const QString &appName) {
    QString why;
    const QString path = regularFile(location(appName), why);
    if (path.isEmpty()) {
        report(QStringLiteral("settings not used: %1: %2").arg(location(appName), why));
        return {};
    }
    const std::optional<Contents> contents = readFile(path);
    if (!contents || !contents->exists)
        return {};
    if (!contents->document) {
        report(QStringLiteral("%1 is not a settings file; the defaults are used").arg(path));
        return {};
    }
    return contents->document->entries();
}

QString write(const QString &appName, const Entries &changes) {
    const QString wanted = location(appName);
    QDir().mkpath(QFileInfo(wanted).absolutePath());
    QString why;
    const QString path = regularFile(wanted, why);
    if (path.isEmpty()) {
        report(QStringLiteral("settings not saved: %1: %2").arg(wanted, why));
        return {};
    }
    const Lock lock(path + QStringLiteral(".lock"));
    const std::optional<Contents> contents = readFile(path);
    if (!contents)
        return {};
    IniDocument document = contents->document.value_or(IniDocument());
    QString keptAs;
    if (contents->exists && !contents->document) {
        keptAs = setAside(path);
        if (keptAs.isEmpty()) {
            report(QStringLiteral("settings not saved: %1 cannot be set aside").arg(path));
            return {};
        }
    }
    document.set(changes);
    const QString failure = WriteWholeFile(path, document.bytes());
    if (!failure.isEmpty()) {
        report(QStringLiteral("settings not saved to %1: %2").arg(path, failure));
        if (!keptAs.isEmpty()) // nothing was saved afresh: the file goes back
            QFile::rename(keptAs, path);
        return {};
    }
    if (!keptAs.isEmpty())
        report(QStringLiteral("%1 was not a settings file; kept as %2, saved afresh")
                   .arg(path, keptAs));
    return keptAs;
}

} // namespace morvex::settings::backend
