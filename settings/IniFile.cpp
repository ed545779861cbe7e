// The settings as an INI file, <application name>.ini in the user's
// configuration folder. Only a regular file is ever read or replaced, and
// nothing waits for ever: whatever stands at that path, the program starts
// and closes.
#include "settings/Backend.h"
#include "settings/IniDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvex::settings::backend {
namespace {

// A larger file is not one the program wrote: it is set aside unread.
constexpr qint64 MaxFileSize = 1024 * 1024;
constexpr int LockTimeoutMs = 2000;

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

// Holds the file's lock for one save, if it can be had within the timeout:
// an advisory lock on <file>.lock, which the system drops with the process
// that held it, so that a copy killed halfway never leaves it held. The
// holder removes the lock file when it is done; whoever locked a file that
// was removed meanwhile tries again with the new one.
class Lock {
public:
    explicit Lock(const QString &path) : path_(QFile::encodeName(path)) {
        for (int waited = 0; !tryOnce(); waited += 10) {
            if (!usable_ || waited >= LockTimeoutMs) {
                report(QStringLiteral("settings lock %1 not had; saving without it").arg(path));
                return;
            }
            QThread::msleep(10);
        }
    }
    ~Lock() {
        if (fd_ >= 0) {
            ::unlink(path_.constData());
            ::close(fd_); // unlocks
        }
    }
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

private:
    // One attempt: true with the lock held, else nothing is left open;
    // usable_ says whether another attempt can succeed.
    bool tryOnce() {
        const int fd =
            ::open(path_.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
        struct stat held, onDisk;
        usable_ = fd >= 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode);
        if (usable_ && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::stat(path_.constData(), &onDisk) == 0 && onDisk.st_ino == held.st_ino &&
            onDisk.st_dev == held.st_dev) {
            fd_ = fd;
            return true;
        }
        if (fd >= 0)
            ::close(fd);
        return false;
    }

    QByteArray path_;
    int fd_ = -1;
    bool usable_ = false;
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
    // Unbuffered: a buffered write that fails only when the file is closed
    // (a full disk) would go unnoticed and an empty file replace the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(document.bytes()) < 0 || !file.commit()) {
        report(QStringLiteral("settings not saved to %1: %2").arg(path, file.errorString()));
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
