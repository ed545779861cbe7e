// Settings files that are damaged, unreadable, unwritable or fought over:
// the program opens usable every time, closes normally, and never leaves a
// previous file worse than it found it.
#include "TestSupport.h"
#include "settings/SettingsStore.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryFile>
#include <fcntl.h>
#include <unistd.h>
#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

using namespace morvex;
using namespace morvex::test;

namespace {

QString storeFile() {
    return settings::storePath(settings::applicationName());
}

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A real file, as the program writes it after a session.
const QByteArray realFile = "[Condition]\nDefeats=4\nOdds=2.5\nStartAmount=\"1,500\"\n\n"
                            "[MainWindow]\nWindowLeft=3000\nWindowTop=1500\n";

// What a file holds of the main window's state, or nothing when it does not
// parse.
QStringList storedState(const QString &path) {
    QSettings store(path, QSettings::IniFormat);
    store.allKeys();
    if (store.status() != QSettings::NoError)
        return {};
    return {store.value(u"Condition/StartAmount"_qs).toString(),
            store.value(u"Condition/Odds"_qs).toString(),
            store.value(u"Condition/Defeats"_qs).toString(),
            store.value(u"MainWindow/WindowLeft"_qs).toString(),
            store.value(u"MainWindow/WindowTop"_qs).toString()};
}

// Runs `work` with standard error going to a file, and returns what it wrote.
template <typename F> QByteArray capturedStderr(F &&work) {
    QTemporaryFile sink;
    sink.open();
    std::fflush(stderr);
    const int saved = dup(2);
    dup2(sink.handle(), 2);
    work();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    sink.seek(0);
    return sink.readAll();
}

// The program opens with a usable main window; then it is closed normally.
void openUseAndClose() {
    startProgram();
    Form *main = loadedWindow(u"frmMain"_qs);
    QVERIFY(main);
    auto *list = main->findChild<QComboBox *>(u"cmbDefeats"_qs);
    QVERIFY(list->currentIndex() >= 0 && list->currentIndex() < 20);
    QVERIFY(main->isVisible());
    main->close();
    flushDeletes();
    QVERIFY(LoadedWindows::forms().isEmpty());
}

// A small file system of our own, for read-only and full-disk cases. Needs
// Linux and the right to mount; the tests that use it skip without.
#ifdef Q_OS_LINUX
const char *const noSmallDisk = "needs the right to mount a small file system (run as root)";

class SmallDisk {
public:
    explicit SmallDisk(const QString &path) : path_(path) {
        QDir().mkpath(path);
        mounted_ = mount("tmpfs", qPrintable(path), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallDisk() {
        if (mounted_)
            umount2(qPrintable(path_), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    bool makeReadOnly() {
        return mount("tmpfs", qPrintable(path_), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") == 0;
    }

private:
    QString path_;
    bool mounted_ = false;
};
#else
const char *const noSmallDisk = "mounts a small file system: Linux only";

class SmallDisk {
public:
    explicit SmallDisk(const QString &) {}
    bool mounted() const { return false; }
    bool makeReadOnly() { return false; }
};
#endif

} // namespace

class TestSettingsFaults : public QObject {
    Q_OBJECT
private slots:
    void init() { config_ = std::make_unique<ScopedConfigDir>(); }
    void cleanup() {
        closeAllWindows();
        config_.reset();
    }
    void damagedFiles_data();
    void damagedFiles();
    void truncatedAtEveryByte();
    void directoryInPlaceOfTheFile();
    void readOnlyFile();
    void readOnlyDirectory();
    void fullDisk();
    void twoCopiesClosingAtOnce();

private:
    std::unique_ptr<ScopedConfigDir> config_;
};

void TestSettingsFaults::damagedFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QByteArray random(4096, Qt::Uninitialized);
    QRandomGenerator generator(20261206);
    for (char &byte : random)
        byte = char(generator.bounded(256));
    QTest::newRow("random bytes") << random;
    QTest::newRow("not text") << QByteArray("\xff\xfe\x00\x01[Condition]\x00", 15);
    QTest::newRow("values not numbers")
        << QByteArray("[MainWindow]\nWindowTop=top\nWindowLeft=1e999\n[Condition]\nDefeats=@@\n");
    QTest::newRow("sections only") << QByteArray("[Condition]\n[MainWindow]\n[");
    QTest::newRow("empty") << QByteArray();
}

// Whatever the file holds, the program opens and closes; a file that does
// not parse is left byte for byte, and the refusal is reported once.
void TestSettingsFaults::damagedFiles() {
    QFETCH(QByteArray, bytes);
    writeFile(storeFile(), bytes);
    const bool parses = !storedState(storeFile()).isEmpty();
    const QByteArray report = capturedStderr(openUseAndClose);
    if (parses) {
        QCOMPARE(storedState(storeFile()).size(), 5);
        QVERIFY(report.isEmpty());
    } else {
        QCOMPARE(contents(storeFile()), bytes);
        QCOMPARE(report.count("settings not saved"), 1);
    }
}

void TestSettingsFaults::truncatedAtEveryByte() {
    for (qsizetype length = 0; length <= realFile.size(); ++length) {
        const QByteArray cut = realFile.left(length);
        writeFile(storeFile(), cut);
        const bool parses = !storedState(storeFile()).isEmpty();
        capturedStderr(openUseAndClose);
        if (parses)
            QVERIFY2(storedState(storeFile()).size() == 5, qPrintable(QString::number(length)));
        else
            QCOMPARE(contents(storeFile()), cut);
    }
}

void TestSettingsFaults::directoryInPlaceOfTheFile() {
    QVERIFY(QDir().mkpath(storeFile()));
    const QByteArray report = capturedStderr(openUseAndClose);
    QVERIFY(QFileInfo(storeFile()).isDir());
    QCOMPARE(report.count("settings not saved"), 1);
}

void TestSettingsFaults::readOnlyFile() {
    const QString dir = config_->path() + u"/ro"_qs;
    SmallDisk disk(dir);
    if (!disk.mounted())
        QSKIP(noSmallDisk);
    qputenv("XDG_CONFIG_HOME", dir.toLocal8Bit());
    writeFile(storeFile(), realFile);
    QVERIFY(disk.makeReadOnly());
    QByteArray report;
    startProgram();
    Form *main = loadedWindow(u"frmMain"_qs);
    QCOMPARE(main->findChild<QComboBox *>(u"cmbDefeats"_qs)->currentIndex(), 4);
    main->findChild<QLineEdit *>(u"txtOdds"_qs)->setText(u"9"_qs);
    report = capturedStderr([&] {
        main->close();
        flushDeletes();
    });
    QCOMPARE(contents(storeFile()), realFile);
    QCOMPARE(report.count("settings not saved"), 1);
}

void TestSettingsFaults::readOnlyDirectory() {
    const QString dir = config_->path() + u"/ro"_qs;
    SmallDisk disk(dir);
    if (!disk.mounted())
        QSKIP(noSmallDisk);
    QVERIFY(disk.makeReadOnly());
    qputenv("XDG_CONFIG_HOME", dir.toLocal8Bit());
    const QByteArray report = capturedStderr(openUseAndClose);
    QVERIFY(!QFile::exists(storeFile()));
    QCOMPARE(report.count("settings not saved"), 1);
}

void TestSettingsFaults::fullDisk() {
    const QString dir = config_->path() + u"/full"_qs;
    SmallDisk disk(dir);
    if (!disk.mounted())
        QSKIP(noSmallDisk);
    qputenv("XDG_CONFIG_HOME", dir.toLocal8Bit());
    writeFile(storeFile(), realFile);
    {
        QFile filler(dir + u"/filler"_qs);
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    const QByteArray report = capturedStderr(openUseAndClose);
    QCOMPARE(contents(storeFile()), realFile);
    QCOMPARE(report.count("settings not saved"), 1);
}

// Each round two copies close at the same moment; the file then holds the
// whole state of one of them.
void TestSettingsFaults::twoCopiesClosingAtOnce() {
    const QString copy = QStringLiteral(CLOSING_COPY);
    const QString file = settings::storePath(QFileInfo(copy).completeBaseName());
    const QStringList first{u"1000"_qs, u"3"_qs, u"2"_qs, u"300"_qs, u"150"_qs};
    const QStringList second{u"2,500"_qs, u"4.5"_qs, u"7"_qs, u"120"_qs, u"60"_qs};
    const QStringList firstState{u"1000"_qs, u"3"_qs, u"2"_qs, u"4500"_qs, u"2250"_qs};
    const QStringList secondState{u"2,500"_qs, u"4.5"_qs, u"7"_qs, u"1800"_qs, u"900"_qs};
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    for (int round = 0; round < 20; ++round) {
        QProcess a, b;
        a.setProcessEnvironment(environment);
        b.setProcessEnvironment(environment);
        a.start(copy, first);
        b.start(copy, second);
        QVERIFY(a.waitForFinished(30000) && b.waitForFinished(30000));
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);
        const QStringList state = storedState(file);
        QVERIFY2(state == firstState || state == secondState, qPrintable(state.join(u'|')));
    }
}

QTEST_MAIN(TestSettingsFaults)
#include "tst_settingsfaults.moc"
