// The settings store: texts come back as they were written, a window's
// entries are written together, and whatever stands in the user's
// configuration folder (damaged files, pipes, devices, links, locks, outside
// edits, copies of the program closing at once or killed halfway) the
// program opens, calculates and closes, writing nowhere but its own regular
// file and losing nothing the user had there.
//
// Some cases run copies of the program: this test started again as
//   tst_store copy      open, calculate 1000 / 3.0 / 2, close
//   tst_store wait      open with the usage window and wait for a signal
//   tst_store writer N  save state A, state B, A, … until killed
#include "TestSupport.h"
#include "settings/Keys.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryFile>
#include <QThread>
#include <cstdio>
#ifndef Q_OS_WIN
#include "settings/IniDocument.h"
#include <filesystem>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace morvex;
using namespace morvex::test;

namespace {

const QString Main = u"frmMain"_qs;

void save(const settings::Entries &entries) {
    settings::Transaction save;
    for (const settings::Entry &e : entries)
        save.setValue(e.section, e.key, e.value);
}

settings::Entries state(const QString &start) {
    using namespace settings;
    return {{MainWindow, WindowTop, u"1500"_qs},
            {MainWindow, WindowLeft, u"2250"_qs},
            {Condition, StartAmount, start},
            {Condition, Odds, u"3.0"_qs},
            {Condition, Defeats, u"2"_qs}};
}

// The copy of the program that a case runs, by the first argument.
int child(int argc, char *argv[]) {
    const QByteArray mode = argv[1];
    if (mode == "writer") {
        QCoreApplication app(argc, argv);
        for (int i = 0;; ++i) {
            save(state(i % 2 ? u"A"_qs : u"B"_qs));
            if (i == 0)
                std::puts("ready"), std::fflush(stdout);
        }
    }
    QApplication app(argc, argv);
    setMessageBoxHook([](QMessageBox &box) {
        std::printf("message %s / %s\n", qPrintable(box.windowTitle()), qPrintable(box.text()));
    });
    startProgram();
    std::printf("restored %s\n", qPrintable(text(Main, u"txtStartAmount"_qs)));
    window(Main)->move(150, 100);
    enterInputs(QString::fromLocal8Bit(argc > 2 ? argv[2] : "1000"), u"3.0"_qs, 2);
    press(Main, u"btnCalcAmount"_qs);
    std::printf("stake %s\n", qPrintable(text(Main, u"lblInvestAmount"_qs)));
    if (mode == "wait") {
        press(Main, u"btnUsage"_qs);
        std::puts("ready");
    } else {
        window(Main)->close();
    }
    std::fflush(stdout);
    return app.exec();
}

struct Run {
    int status;
    qint64 ms;
    QString output;
};

Run runCopy(const QStringList &arguments, const QString &program = {}) {
    QProcess copy;
    QElapsedTimer clock;
    clock.start();
    copy.start(program.isEmpty() ? QCoreApplication::applicationFilePath() : program, arguments);
    const bool finished = copy.waitForFinished(10000);
    if (!finished)
        copy.kill();
    return {finished && copy.exitStatus() == QProcess::NormalExit ? copy.exitCode() : -1,
            clock.elapsed(), QString::fromUtf8(copy.readAllStandardOutput())};
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

#ifndef Q_OS_WIN
// What a path is (its type and inode, following links or not), or "missing".
QString identity(const QString &path, bool follow) {
    struct stat status;
    const int result = follow ? ::stat(QFile::encodeName(path), &status)
                              : ::lstat(QFile::encodeName(path), &status);
    return result != 0 ? u"missing"_qs : u"%1:%2"_qs.arg(status.st_mode).arg(status.st_ino);
}

// What `work` writes on standard error.
template <typename F> QByteArray capturedStderr(F &&work) {
    QTemporaryFile sink;
    sink.open();
    std::fflush(stderr);
    const int saved = ::dup(2);
    ::dup2(sink.handle(), 2);
    work();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    sink.seek(0);
    return sink.readAll();
}
#endif

} // namespace

class TestStore : public QObject {
    Q_OBJECT
    std::optional<ScopedSettings> settings_;

private slots:
    void init() { settings_.emplace(); }
    void cleanup() {
        closeAll();
        settings_.reset();
    }

    // Texts come back exactly as written, whatever they hold; a missing
    // entry gives its default; an entry written later replaces the earlier.
    void roundTrip_data() {
        QTest::addColumn<QString>("value");
        for (const QString &value :
             {u"abc"_qs,        u"1,000"_qs,      u"="_qs,           u";"_qs,
              u"#"_qs,          u" 1000"_qs,      u"3 "_qs,          u"a\\b"_qs,
              u"１，０００"_qs, u"倍率　ｵｯｽﾞ"_qs, QString(),         u"@Variant(0)"_qs,
              u"@@"_qs,         u"\"q\""_qs,      u"[Condition]"_qs, u"line\nbreak\r\t"_qs,
              u"a,b,c"_qs,      u"x;y#z"_qs,      u"\\x41\\0"_qs,    u"\x01\x7f"_qs,
              u"😀"_qs})
            QTest::newRow(qPrintable(value.toUtf8().toPercentEncoding())) << value;
    }

    void roundTrip() {
        QFETCH(QString, value);
        QCOMPARE(settings::Store::read().value(settings::Condition, settings::Odds, u"x"_qs),
                 u"x"_qs);
        save({{settings::Condition, settings::Odds, u"4"_qs},
              {settings::Condition, settings::StartAmount, u"1"_qs}});
        save({{settings::Condition, settings::StartAmount, value}});
        const settings::Store store = settings::Store::read();
        QCOMPARE(store.value(settings::Condition, settings::StartAmount, u"x"_qs), value);
        QCOMPARE(store.value(settings::Condition, settings::Odds, u"x"_qs), u"4"_qs);
#ifndef Q_OS_WIN
        // Files pass between this program and earlier versions, which wrote
        // them with QSettings, in both directions.
        QSettings qt(settings::location(), QSettings::IniFormat);
        QCOMPARE(qt.value(u"Condition/StartAmount"_qs).toString(), value);
        qt.setValue(u"Condition/Odds"_qs, value);
        qt.sync();
        QCOMPARE(settings::Store::read().value(settings::Condition, settings::Odds, u"x"_qs),
                 value);
#endif
    }

    // A window closed by the main window's unload is saved with it, in one
    // write.
    void joinedTransactions() {
        startProgram();
        press(Main, u"btnUsage"_qs);
        window(Main)->close();
        flushDeletes();
        QCOMPARE(stored(settings::UsageWindow, settings::WindowLeft), u"1305"_qs);
        QCOMPARE(stored(settings::Condition, settings::Defeats), u"0"_qs);
    }

#ifndef Q_OS_WIN
    // An unload changes its own entries only, where they stand: other
    // sections, unknown keys, comments, a byte-order mark and the line ends
    // stay, also when they were changed from outside while the program ran.
    void keepsWhatItDoesNotOwn() {
        startProgram();
        writeFile(settings::location(),
                  "\xEF\xBB\xBF; my notes\r\n[Condition]\r\nOdds = 9 ; was 8\r\nMine=1\r\n\r\n"
                  "[Elsewhere]\r\nWindowTop=5\r\n");
        window(Main)->close();
        flushDeletes();
        QCOMPARE(contents(settings::location()),
                 "\xEF\xBB\xBF; my notes\r\n[Condition]\r\nOdds=3\r\nMine=1\r\nStartAmount=1000\r\n"
                 "Defeats=0\r\n\r\n[Elsewhere]\r\nWindowTop=5\r\n\r\n"
                 "[MainWindow]\r\nWindowTop=1200\r\nWindowLeft=1200\r\n");
    }

    // Whatever stands at the settings file's place, a copy opens, calculates
    // and closes with status 0 within 3 s; it reads and replaces only a
    // regular file, and a file that is not a settings file is kept aside,
    // with a word to the user, before a fresh one is written.
    void whatStandsThere_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("outcome"); // written, untouched, set aside
        const QByteArray real = "[MainWindow]\nWindowTop=300\n[Condition]\nStartAmount=777\n";
        QTest::newRow("a settings file") << u"file"_qs << real << u"written 777"_qs;
        QTest::newRow("with a byte-order mark")
            << u"file"_qs << "\xEF\xBB\xBF" + real << u"written 777"_qs;
        QTest::newRow("binary") << u"file"_qs << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)
                                << u"set aside"_qs;
        QTest::newRow("UTF-16") << u"file"_qs << QByteArray("\xff\xfe[\0C\0]\0\n\0", 10)
                                << u"set aside"_qs;
        QTest::newRow("text that is not INI")
            << u"file"_qs << QByteArray("Dear diary,\n") << u"set aside"_qs;
        QTest::newRow("over 1 MiB")
            << u"file"_qs << ("[C]\n" + QByteArray(1 << 20, ';')) << u"set aside"_qs;
        QTest::newRow("a pipe") << u"fifo"_qs << QByteArray() << u"untouched"_qs;
        QTest::newRow("lock is a folder") << u"lock folder"_qs << real << u"written 777"_qs;
        QTest::newRow("link to a device")
            << u"link /dev/null"_qs << QByteArray() << u"untouched"_qs;
        QTest::newRow("link to a file") << u"link target.ini"_qs << real << u"written 777"_qs;
        QTest::newRow("dangling link")
            << u"link target.ini"_qs << QByteArray() << u"written 1000"_qs;
        QTest::newRow("link into nowhere")
            << u"link none/target.ini"_qs << QByteArray() << u"untouched"_qs;
        QTest::newRow("loop of links")
            << u"link tst_store.ini"_qs << QByteArray() << u"untouched"_qs;
    }

    void whatStandsThere() {
        QFETCH(QString, what);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, outcome);
        const QString dir = settings_->folder(), path = dir + u"/tst_store.ini"_qs;
        QString file = path;
        if (what.startsWith(u"link")) {
            const QString target = what.section(u' ', 1);
            file = target.startsWith(u'/') ? target : dir + u'/' + target;
            QVERIFY(QFile::link(target, path));
        }
        if (what == u"fifo"_qs)
            QCOMPARE(::mkfifo(QFile::encodeName(path), 0600), 0);
        if (what == u"lock folder"_qs)
            QVERIFY(QDir().mkdir(path + u".lock"_qs));
        if (!bytes.isEmpty())
            writeFile(file, bytes);
        const QString before = identity(path, false) + identity(file, true);

        for (int run = 0; run < 2; ++run) {
            const Run copy = runCopy({u"copy"_qs});
            QCOMPARE(copy.status, 0);
            QVERIFY2(copy.ms < 3000, qPrintable(QString::number(copy.ms)));
            QVERIFY2(copy.output.contains(u"stake 2,300"_qs), qPrintable(copy.output));
            const QString restored =
                outcome.startsWith(u"written") && run == 0 ? outcome.section(u' ', 1) : u"1000"_qs;
            QVERIFY2(copy.output.contains(u"restored "_qs + restored), qPrintable(copy.output));
            const bool told =
                copy.output.contains(u"message Morvex / 設定ファイルが壊れていたため"_qs);
            QCOMPARE(told, outcome == u"set aside"_qs && run == 0);
            if (outcome == u"untouched"_qs) {
                QCOMPARE(identity(path, false) + identity(file, true), before);
                QVERIFY(!QFileInfo::exists(dir + u"/none"_qs));
            } else {
                const QByteArray written = contents(file);
                QVERIFY2(written.contains("StartAmount=1000") &&
                             written.contains("WindowLeft=2250"),
                         written.constData());
                QCOMPARE(written.startsWith("\xEF\xBB\xBF"), bytes.startsWith("\xEF\xBB\xBF"));
                QCOMPARE(contents(path + u".damaged"_qs),
                         outcome == u"set aside"_qs ? bytes : QByteArray());
            }
        }
    }

    // Ten copies closing at once leave a file that is wholly one copy's,
    // each closing within 3 s.
    void copiesClosingAtOnce() {
        const QString path = settings_->folder() + u"/tst_store.ini"_qs;
        for (int round = 0; round < 2; ++round) {
            std::vector<std::unique_ptr<QProcess>> copies;
            for (int i = 0; i < 10; ++i) {
                copies.push_back(std::make_unique<QProcess>());
                copies.back()->start(QCoreApplication::applicationFilePath(),
                                     {u"copy"_qs, QString::number(1000 + i)});
            }
            QElapsedTimer clock;
            clock.start();
            for (auto &copy : copies) {
                QVERIFY(copy->waitForFinished(10000));
                QCOMPARE(copy->exitCode(), 0);
            }
            QVERIFY2(clock.elapsed() < 3000 + 1000, qPrintable(QString::number(clock.elapsed())));
            const std::optional<settings::IniDocument> file =
                settings::IniDocument::parse(contents(path));
            QVERIFY(file);
            QString start = file->entries().value(2).value;
            QCOMPARE(file->entries(), state(start));
            QVERIFY(start.toInt() >= 1000 && start.toInt() < 1010);
        }
    }

    // A killed copy leaves the file as it was before or after the write it
    // was in the middle of, byte for byte: 200 kills, four copies at a time
    // each in a folder of its own.
    void killedWhileSaving() {
        settings::useApplicationName(u"tst_store"_qs);
        constexpr int Copies = 4;
        QString dirs[Copies];
        QByteArray a, b;
        for (int i = 0; i < Copies; ++i) {
            dirs[i] = settings_->folder() + u'/' + QString::number(i);
            QDir().mkpath(dirs[i]);
            qputenv("XDG_CONFIG_HOME", dirs[i].toLocal8Bit());
            save(state(u"B"_qs));
            b = contents(settings::location());
            save(state(u"A"_qs));
            a = contents(settings::location());
        }
        QRandomGenerator random(20261207);
        for (int round = 0; round < 200 / Copies; ++round) {
            QProcess copies[Copies];
            QList<std::pair<int, int>> kills; // microseconds after all are saving, copy
            for (int i = 0; i < Copies; ++i) {
                QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
                environment.insert(u"XDG_CONFIG_HOME"_qs, dirs[i]);
                copies[i].setProcessEnvironment(environment);
                copies[i].start(QCoreApplication::applicationFilePath(), {u"writer"_qs});
                kills.append({random.bounded(50000), i});
            }
            for (QProcess &copy : copies)
                QVERIFY(copy.waitForReadyRead(5000));
            std::sort(kills.begin(), kills.end());
            int slept = 0;
            for (const auto &[at, i] : kills) {
                QThread::usleep(at - slept);
                slept = at;
                copies[i].kill();
            }
            for (int i = 0; i < Copies; ++i) {
                copies[i].waitForFinished();
                const QByteArray left = contents(dirs[i] + u"/tst_store.ini"_qs);
                QVERIFY2(left == a || left == b, left.constData());
            }
        }
    }

    // SIGTERM closes the program as its close boxes do: every window saves.
    void terminatedCopySaves() {
        QProcess copy;
        copy.start(QCoreApplication::applicationFilePath(), {u"wait"_qs, u"4321"_qs});
        QVERIFY(copy.waitForReadyRead(5000));
        while (!copy.readAllStandardOutput().contains("ready"))
            QVERIFY(copy.waitForReadyRead(5000));
        copy.terminate();
        QVERIFY(copy.waitForFinished(3000));
        QCOMPARE(copy.exitStatus(), QProcess::NormalExit);
        QCOMPARE(copy.exitCode(), 0);
        const QByteArray file = contents(settings_->folder() + u"/tst_store.ini"_qs);
        QVERIFY2(file.contains("StartAmount=4321") && file.contains("[UsageWindow]"),
                 file.constData());
    }

    // An executable whose name is not UTF-8 keeps its settings under that
    // name, its stray bytes written as %XX.
    void executableNameNotUtf8() {
        const std::string odd =
            QFile::encodeName(settings_->folder()).toStdString() + "/odd\xff\xfe";
        std::filesystem::copy_file(
            QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(), odd);
        const QString link = settings_->folder() + u"/oddname"_qs;
        QCOMPARE(::symlink(odd.c_str(), QFile::encodeName(link)), 0);
        QCOMPARE(runCopy({u"copy"_qs}, link).status, 0);
        QVERIFY(QFile::exists(settings_->folder() + u"/odd%FF%FE.ini"_qs));
        QVERIFY(!QFile::exists(settings_->folder() + u"/tst_store.ini"_qs));
    }

    // A read-only file or folder, or a full disk: the program opens and
    // closes, the file stays as it was, and the failure is told once.
    void cannotWrite_data() {
        QTest::addColumn<QString>("fault");
        for (const char *fault : {"read-only file", "read-only folder", "full disk"})
            QTest::newRow(fault) << QString::fromLatin1(fault);
    }

    void cannotWrite() {
        QFETCH(QString, fault);
        const QString dir = settings_->folder() + u"/disk"_qs;
        QDir().mkpath(dir);
        if (::mount("tmpfs", QFile::encodeName(dir), "tmpfs", 0, "size=64k") != 0)
            QSKIP("needs the right to mount a small file system (run as root)");
        qputenv("XDG_CONFIG_HOME", dir.toLocal8Bit());
        const QByteArray real = "[Condition]\nStartAmount=5\n";
        writeFile(settings::location(), real);
        if (fault == u"full disk"_qs) {
            QFile filler(dir + u"/filler"_qs);
            QVERIFY(filler.open(QIODevice::WriteOnly));
            while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
            }
        } else {
            QCOMPARE(::mount("tmpfs", QFile::encodeName(dir), "tmpfs", MS_REMOUNT | MS_RDONLY,
                             "size=64k"),
                     0);
        }
        startProgram();
        QCOMPARE(text(Main, u"txtStartAmount"_qs), u"5"_qs);
        const QByteArray told = capturedStderr([] {
            window(Main)->close();
            flushDeletes();
        });
        const QByteArray left = contents(settings::location());
        ::umount2(QFile::encodeName(dir), MNT_DETACH);
        QCOMPARE(left, real);
        QCOMPARE(told.count("settings not saved"), 1);
    }
#endif
};

int main(int argc, char *argv[]) {
    if (argc > 1 && QByteArrayList{"copy", "wait", "writer"}.contains(argv[1]))
        return child(argc, argv);
    QApplication app(argc, argv);
    TestStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_store.moc"
