// The settings store: texts come back as they were written, and whatever
// stands in the user's configuration folder (damaged files, pipes, devices,
// links, locks, outside edits, copies of the program closing at once or
// killed halfway) the program opens, calculates and closes, writing nowhere
// but its own regular file and losing nothing the user had there.
//
// Some cases run copies of the program: this test started again as
//   tst_store copy [START]  open, calculate START (1000) / 3.0 / 2, close
//   tst_store open ODDS HOW CLICK…  type 4321 / ODDS / 2, click, say what is
//                           open, and wait (HOW "close box": close then)
//   tst_store writer FOLDER save state B, A, B, … there until killed
//   tst_store holder FOLDER hold the settings file's lock there for a moment,
//                           and write a file of its own before letting go
#include "TestData.h"
#include "TestSupport.h"
#include "settings/Keys.h"

#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QMenu>
#include <QProcess>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSettings>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include "settings/IniDocument.h"
#include <csignal>
#include <filesystem>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

using namespace morvex;
using namespace morvex::test;
using namespace morvex::settings;

namespace {

const QString Main = u"frmMain"_s;

void save(const Entries &entries) {
    Transaction save;
    for (const Entry &e : entries)
        save.setValue(e.section, e.key, e.value);
}

// The main window's entries as a copy saves them.
Entries state(const QString &start) {
    return {{MainWindow, WindowTop, u"1500"_s},
            {MainWindow, WindowLeft, u"2250"_s},
            {Condition, StartAmount, start},
            {Condition, Odds, u"3.0"_s},
            {Condition, Defeats, u"2"_s}};
}

// One session of the program: opened (what the start amount box shows
// then), moved, START / 3.0 / 2 calculated, closed; how long the opening and
// the closing took, and what the message boxes said.
struct Session {
    QString restored, stake;
    qint64 openMs, closeMs;
    QStringList messages;
};

Session session(const QString &start) {
    Session run;
    MessageRecorder boxes;
    QElapsedTimer clock;
    clock.start();
    startProgram();
    run.openMs = clock.restart();
    run.restored = text(Main, u"txtStartAmount"_s);
    window(Main)->move(150, 100);
    enterInputs(start, u"3.0"_s, 2);
    press(Main, u"btnCalcAmount"_s);
    run.stake = text(Main, u"lblInvestAmount"_s);
    clock.restart();
    press(Main, u"btnExit"_s);
    run.closeMs = clock.elapsed();
    run.messages = boxes.take();
    return run;
}

// A copy's clicks (menu: a right-click; action: a window's action, as its
// shortcut or menu item triggers it), run from its main loop. Once the
// last one has opened what it opens (a nested loop runs then), the copy
// says what that is and, for "close box", has the window system close its
// main window.
void click(const QStringList &clicks, bool closeBox) {
    QTimer::singleShot(0, [closeBox] {
        const QWidget *open = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                                : QApplication::activeModalWidget();
        const QAction *item =
            qobject_cast<const QMenu *>(open) ? open->actions().value(0) : nullptr;
        const QString what =
            open ? QString::fromLatin1(open->metaObject()->className()) : u"nothing"_s;
        std::printf("open: %s\n", qPrintable(what + (item ? u' ' + item->text() : QString())));
        std::fflush(stdout);
        if (closeBox)
            window(Main)->windowHandle()->close();
    });
    for (const QString &click : clicks) {
        const QString form = click.section(u'/', 0, 0).section(u':', -1);
        if (click.startsWith(u"action:")) {
            trigger(form, click.section(u'/', 1));
            continue;
        }
        QWidget *at = control(form, click.section(u'/', 1));
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at->rect().center(),
                               at->mapToGlobal(at->rect().center()));
        if (click.startsWith(u"menu:"))
            QApplication::sendEvent(at, &menu);
        else
            press(form, at->objectName());
    }
}

int child(int argc, char *argv[]) {
    const QByteArray mode = argv[1];
    if (mode == "writer") {
        qputenv("XDG_CONFIG_HOME", argv[2]);
        QCoreApplication app(argc, argv);
        for (int i = 0;; ++i) {
            save(state(i % 2 ? u"A"_s : u"B"_s));
            if (i == 0)
                std::puts("ready"), std::fflush(stdout);
        }
    }
    if (mode == "holder") {
        QCoreApplication app(argc, argv);
        const QString path = QString::fromLocal8Bit(argv[2]) + u"/tst_store.ini"_s;
        QLockFile lock(path + u".lock"_s);
        if (!lock.tryLock(5000))
            return 1;
        std::puts("held"), std::fflush(stdout);
        QThread::msleep(300);
        QSaveFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("[Holder]\nKey=1\n") > 0 &&
                       file.commit()
                   ? 0
                   : 1;
    }
    QApplication app(argc, argv);
    if (mode == "open") {
        startProgram();
        enterInputs(u"4321"_s, QString::fromLocal8Bit(argv[2]), 2);
        QTimer::singleShot(
            0, [&] { click(app.arguments().mid(4), app.arguments()[3] == u"close box"_s); });
        return app.exec();
    }
    const Session run = session(QString::fromLocal8Bit(argv[2]));
    std::printf("closed in %lld ms\n%s\nready\n", run.closeMs,
                run.messages.join(u'\n').toUtf8().constData());
    std::fflush(stdout);
    return app.exec();
}

#ifdef Q_OS_WIN
// What the registry holds for the settings: nothing when there is no key;
// else its sections, empty ones too, and every value with its type.
QVariantMap registry() {
    QSettings software(u"HKEY_CURRENT_USER\\Software"_s, QSettings::NativeFormat);
    const QString app = location().section(u'\\', -1);
    if (!software.childGroups().contains(app))
        return {};
    software.beginGroup(app);
    QVariantMap values{{u"sections"_s, software.childGroups()}};
    for (const QString &key : software.allKeys())
        values.insert(key, software.value(key));
    return values;
}
#else
// What a path is (its type and inode, following links or not), or "missing".
QString identity(const QString &path, bool follow) {
    struct stat status;
    const QByteArray name = QFile::encodeName(path);
    const int result = follow ? ::stat(name, &status) : ::lstat(name, &status);
    return result != 0 ? u"missing"_s : u"%1:%2"_s.arg(status.st_mode).arg(status.st_ino);
}

#endif

} // namespace

class TestStore : public QObject {
    Q_OBJECT
    std::optional<ScratchSettings> settings_;
    QString file() const { return settings_->folder() + u"/tst_store.ini"_s; } // the copies'

private slots:
    void init() { settings_.emplace(); }
    void cleanup() {
        closeAll();
        settings_.reset();
    }

    // Texts come back exactly as written, whatever they hold, and are
    // spelt in the file as QSettings spells them; a later write replaces the
    // earlier one and leaves the other entries.
    void roundTrip_data() { addRowsFrom("settings/texts.txt"); }

    void roundTrip() {
        const auto [value] = cells<1>();
        save({{Condition, Odds, u"4"_s}, {Condition, StartAmount, u"1"_s}});
        save({{Condition, StartAmount, value}});
        QCOMPARE(Store::read().value(Condition, StartAmount, u"x"_s), value);
        QCOMPARE(Store::read().value(Condition, Odds, u"x"_s), u"4"_s);
#ifndef Q_OS_WIN
        // Files pass both ways between this program and earlier versions,
        // which wrote them with QSettings.
        const QString ours = QString::fromUtf8(contents(location()));
        QSettings qt(location(), QSettings::IniFormat);
        QCOMPARE(qt.value(u"Condition/StartAmount"_s).toString(), value);
        qt.setValue(u"Condition/Odds"_s, value);
        qt.sync();
        QCOMPARE(Store::read().value(Condition, Odds, u"x"_s), value);
        QCOMPARE(
            ours.section(u"StartAmount="_s, 1).section(u'\n', 0, 0), // spelt alike
            QString::fromUtf8(contents(location())).section(u"Odds="_s, 1).section(u'\n', 0, 0));
#endif
    }

#ifdef Q_OS_WIN
    // A registry value that is not text counts as missing: its default
    // applies and the window opens usable. A key that cannot be written is
    // reported and the program closes all the same, having written nothing.
    void registryValues() {
        QSettings key(location(), QSettings::NativeFormat);
        key.setValue(u"MainWindow/WindowTop"_s, 5000);                    // REG_DWORD
        key.setValue(u"Condition/Odds"_s, QStringList{u"2.5"_s, u"x"_s}); // REG_MULTI_SZ
        key.sync();
        startProgram();
        QCOMPARE(window(Main)->pos(), QPoint(80, 80)); // 1200 twips
        QCOMPARE(text(Main, u"txtOdds"_s), u"3"_s);
        closeAll();
        QCOMPARE(key.value(u"MainWindow/WindowTop"_s).toString(), u"1200"_s);
    }

    // A save that the registry refuses part way (a section or key name too
    // long for it, after entries written fine) puts back what it had
    // written: the registry is as it was before, with the values of other
    // texts and types, without the values and keys that were not there. A
    // save without the refused entry then stores everything.
    void failedSaveLeavesRegistry_data() {
        QTest::addColumn<bool>("storedBefore");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        const QString longSection(300, u'S'), longKey(17000, u'k');
        QTest::newRow("section refused") << true << longSection << WindowTop;
        QTest::newRow("key refused") << true << Condition << longKey;
        QTest::newRow("section refused, nothing before") << false << longSection << WindowTop;
        QTest::newRow("key refused, nothing before") << false << Condition << longKey;
    }

    void failedSaveLeavesRegistry() {
        QFETCH(bool, storedBefore);
        QFETCH(QString, section);
        QFETCH(QString, key);
        if (storedBefore) {
            QSettings registryKey(location(), QSettings::NativeFormat);
            registryKey.setValue(u"MainWindow/WindowTop"_s, u"15"_s);
            registryKey.setValue(u"MainWindow/WindowLeft"_s, 7); // REG_DWORD
        }
        const QVariantMap before = registry();
        const Entries written = state(u"1000"_s);
        save(Entries(written) << Entry{section, key, u"1"_s});
        QCOMPARE(registry(), before);
        save(written);
        QCOMPARE(stored(Condition, Defeats), u"2"_s);
    }

    void unwritableKey() {
        HKEY volatileKey; // a volatile key takes no lasting subkey
        RegCreateKeyExW(HKEY_CURRENT_USER,
                        (u"Software\\"_s + location().section(u'\\', -1)).toStdWString().c_str(), 0,
                        nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &volatileKey,
                        nullptr);
        RegCloseKey(volatileKey);
        const Session run = session(u"1000"_s);
        QCOMPARE(run.stake, u"2,300"_s);
        QVERIFY(
            !QSettings(location(), QSettings::NativeFormat).contains(u"MainWindow/WindowTop"_s));
    }
#else
    // An unload changes its own entries only, where they stand (a new one
    // after the last entry of its section, or its heading): other sections,
    // unknown keys, comments, a byte-order mark and the line ends stay, also
    // when they were changed from outside while the program ran.
    void keepsWhatItDoesNotOwn() {
        startProgram();
        writeFile(location(), "\xEF\xBB\xBF[MainWindow]\r\n; my notes\r\n[Condition]\r\n"
                              "Odds = 9 ; was 8\r\nMine=1\r\n\r\n[Elsewhere]\r\nWindowTop=5\r\n");
        window(Main)->close();
        QCOMPARE(contents(location()),
                 "\xEF\xBB\xBF[MainWindow]\r\nWindowTop=1200\r\nWindowLeft=1200\r\n; my notes\r\n"
                 "[Condition]\r\nOdds=3\r\nMine=1\r\nStartAmount=1000\r\nDefeats=0\r\n\r\n"
                 "[Elsewhere]\r\nWindowTop=5\r\n");
    }

    // Whatever stands at the settings file's place, a copy opens, calculates
    // and closes with status 0 within 3 s, twice; it reads and replaces only
    // a regular file, and a file that is not a settings file is kept aside,
    // with a word to the user, before a fresh one is written.
    void whatStandsThere_data() {
        addRowsFrom("settings/what-stands-there.txt");
    }

    void whatStandsThere() {
        const auto [what, text, outcome] = cells<3>();
        QByteArray bytes = text.toLatin1();
        const QByteArray mebibyte = " and 1 MiB of \";\"";
        if (bytes.endsWith(mebibyte))
            bytes = bytes.chopped(mebibyte.size()) + QByteArray(1 << 20, ';');
        const QString path = location(), dir = QFileInfo(path).path();
        QString target = path;
        if (what.startsWith(u"link")) {
            const QString to = what.section(u' ', 1).replace(u"self"_s, QFileInfo(path).fileName());
            target = to.startsWith(u'/') ? to : dir + u'/' + to;
            QVERIFY(QFile::link(to, path));
        }
        if (what == u"fifo"_s)
            QCOMPARE(::mkfifo(QFile::encodeName(path), 0600), 0);
        if (what == u"lock folder"_s)
            QVERIFY(QDir().mkdir(path + u".lock"_s));
        if (!bytes.isEmpty())
            writeFile(target, bytes);
        const QString before = identity(path, false) + identity(target, true);
        for (int run = 0; run < 2; ++run) {
            const Session copy = session(u"1000"_s);
            QVERIFY(copy.openMs < 3000 && copy.closeMs < 3000);
            const QString restored =
                run == 0 && outcome.startsWith(u"written") ? outcome.section(u' ', 1) : u"1000"_s;
            QCOMPARE(copy.restored + u' ' + copy.stake, restored + u" 2,300"_s);
            QCOMPARE(copy.messages.value(0).startsWith(u"Morvex / 設定ファイルが壊れていたため"_s),
                     outcome == u"set aside"_s && run == 0);
            if (outcome == u"untouched"_s) {
                QCOMPARE(identity(path, false) + identity(target, true), before);
                QVERIFY(!QFileInfo::exists(dir + u"/none"_s));
                continue;
            }
            const QByteArray written = contents(target);
            QVERIFY2(written.contains("StartAmount=1000") && written.contains("WindowLeft=2250"),
                     written.constData());
            QCOMPARE(written.startsWith("\xEF\xBB\xBF"), bytes.startsWith("\xEF\xBB\xBF"));
            QCOMPARE(contents(path + u".damaged"_s), outcome == u"set aside"_s ? bytes : "");
        }
    }

    // Ten copies closing at once leave a file that is wholly one copy's;
    // none takes 3 s to close.
    void copiesClosingAtOnce() {
        for (int round = 0; round < 2; ++round) {
            std::vector<std::unique_ptr<QProcess>> copies;
            for (int i = 0; i < 10; ++i) {
                copies.push_back(std::make_unique<QProcess>());
                copies.back()->start(QCoreApplication::applicationFilePath(),
                                     {u"copy"_s, QString::number(1000 + i)});
            }
            for (auto &copy : copies) {
                QVERIFY(copy->waitForFinished(10000) && copy->exitCode() == 0);
                const QByteArray said = copy->readAll();
                QVERIFY2(said.mid(10).split(' ').value(0).toInt() < 3000,
                         said.constData()); // "closed in N ms"
            }
            const auto document = IniDocument::parse(contents(file()));
            QVERIFY(document);
            const QString start = document->entries().value(2).value;
            QCOMPARE(document->entries(), state(start));
            QVERIFY(start.toInt() >= 1000 && start.toInt() < 1010);
        }
    }

    // A save that finds another copy holding the lock waits for it: what
    // that copy saved meanwhile stays, and this save's entries join it.
    void waitsForTheLock() {
        useApplicationName(u"tst_store"_s);
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {u"holder"_s, settings_->folder()});
        QVERIFY(holder.waitForReadyRead(5000)); // it holds the lock now
        save(state(u"A"_s));
        QVERIFY(holder.waitForFinished(5000) && holder.exitCode() == 0);
        QCOMPARE(IniDocument::parse(contents(file()))->entries(),
                 (Entries{{u"Holder"_s, u"Key"_s, u"1"_s}} + state(u"A"_s)));
    }

    // A killed copy leaves the file byte for byte as it was before or after
    // the write it was in the middle of: 200 kills at random moments, four
    // copies at a time, each in a folder of its own.
    void killedWhileSaving() {
        useApplicationName(u"tst_store"_s);
        save(state(u"B"_s));
        const QByteArray b = contents(location());
        save(state(u"A"_s));
        const QByteArray a = contents(location());
        QRandomGenerator random(20261207);
        for (int round = 0; round < 50; ++round) {
            QProcess copies[4];
            QList<std::pair<int, int>> kills; // microseconds from now, copy
            for (int i = 0; i < 4; ++i) {
                copies[i].start(QCoreApplication::applicationFilePath(),
                                {u"writer"_s, settings_->folder() + u'/' + QString::number(i)});
                kills.append({random.bounded(50000), i});
            }
            for (QProcess &copy : copies)
                QVERIFY(copy.waitForReadyRead(5000));
            std::sort(kills.begin(), kills.end());
            for (int k = 0; k < 4; ++k) {
                QThread::usleep(kills[k].first - (k > 0 ? kills[k - 1].first : 0));
                copies[kills[k].second].kill();
            }
            for (int i = 0; i < 4; ++i) {
                copies[i].waitForFinished();
                const QByteArray left =
                    contents(settings_->folder() + u'/' + QString::number(i) + u"/tst_store.ini"_s);
                QVERIFY2(left == a || left == b, left.constData());
            }
        }
    }

    // Closed from outside, whatever it has open (a context menu, a message
    // box, the modal version window, each running a nested loop), a copy
    // ends as a close at rest ends it, and a storm of signals as one signal
    // does: status 0 within 3 s, its windows' settings saved, a damaged file
    // set aside once, and nothing on standard error but the reports on its
    // settings file (no sanitizer's).
    void closedFromOutside_data() {
        addRowsFrom("settings/closed-from-outside.txt");
    }

    void closedFromOutside() {
        const auto [odds, clicks, open, how, section, settings, reports] = cells<7>();
        const bool damaged = settings == u"damaged"_s;
        if (damaged)
            writeFile(file(), "Dear diary,\n");
        if (settings == u"lock a folder"_s)
            QVERIFY(QDir().mkdir(file() + u".lock"_s));
        QProcess copy;
        copy.start(QCoreApplication::applicationFilePath(),
                   QStringList{u"open"_s, odds, how} + clicks.split(u' '));
        while (!copy.canReadLine() && copy.waitForReadyRead(5000)) {
        }
        QCOMPARE(copy.readLine(), "open: " + open.toUtf8() + '\n');
        const QString name = how.section(u' ', 0, 0);
        const int signal = name == u"SIGTERM"_s ? SIGTERM : name == u"SIGINT"_s ? SIGINT : SIGHUP;
        for (int i = how.section(u' ', 1).toInt(); i > 0; --i)
            ::kill(pid_t(copy.processId()), signal);
        QVERIFY(copy.waitForFinished(3000)); // generous: it catches a hang
        QVERIFY(copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0);
        const QByteArray errors = copy.readAllStandardError();
        QVERIFY2(errors.count("tst_store: ") == reports.toInt() && !errors.contains("Sanitizer"),
                 errors);
        const QByteArray saved = contents(file());
        QVERIFY2(saved.contains("StartAmount=4321") && saved.contains("[" + section.toUtf8() + "]"),
                 saved.constData());
        QCOMPARE(contents(file() + u".damaged"_s), damaged ? "Dear diary,\n" : "");
    }

    // An executable whose name is not UTF-8 keeps its settings under that
    // name without its extension, its stray bytes written as %XX.
    void executableNameNotUtf8() {
        const std::string odd = QFile::encodeName(settings_->folder()).toStdString() + "/\xff.bin";
        std::filesystem::copy_file(
            QFile::encodeName(QCoreApplication::applicationFilePath()).data(), odd);
        const QString link = settings_->folder() + u"/oddname"_s;
        QCOMPARE(::symlink(odd.c_str(), QFile::encodeName(link)), 0);
        QProcess copy;
        copy.start(link, {u"copy"_s, u"1000"_s});
        QVERIFY(copy.waitForFinished(10000) && copy.exitCode() == 0);
        QVERIFY(QFile::exists(settings_->folder() + u"/%FF.ini"_s));
        QVERIFY(!QFile::exists(file()));
    }

    // A read-only file or folder, or a full disk: the program opens and
    // closes, the file stays as it was (also one that is not a settings
    // file, which is not set aside then), and the failure is told once.
    void cannotWrite_data() {
        addRowsFrom("settings/cannot-write.txt");
    }

    void cannotWrite() {
        const auto [disk, text] = cells<2>();
        const bool full = disk == u"full"_s;
        const QByteArray bytes = text.toLatin1();
        const QString dir = settings_->folder() + u"/disk"_s;
        QDir().mkpath(dir);
        SmallDisk small(dir);
        if (!small.mounted)
            QSKIP("needs the right to mount a small file system (run as root)");
        const QString path = dir + u"/tst_store.ini"_s; // the copy's
        writeFile(path, bytes);
        if (full)
            fill(dir + u"/filler"_s);
        else
            ::mount("tmpfs", small.where, "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k");
        QProcess copy;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CONFIG_HOME"_s, dir);
        copy.setProcessEnvironment(environment);
        copy.start(QCoreApplication::applicationFilePath(), {u"copy"_s, u"1000"_s});
        const bool closed = copy.waitForFinished(10000) && copy.exitCode() == 0;
        const QByteArray left = contents(path);
        const QStringList files = QDir(dir).entryList(QDir::Files);
        QVERIFY(closed);
        QCOMPARE(left, bytes);
        QCOMPARE(files.join(u' '), full ? u"filler tst_store.ini"_s : u"tst_store.ini"_s);
        QCOMPARE(copy.readAllStandardError().count("settings not saved"), 1);
        QVERIFY(!copy.readAllStandardOutput().contains("設定ファイル")); // no word of a fresh file
    }
#endif
};

int main(int argc, char *argv[]) {
    if (argc > 1 && QByteArrayList{"copy", "open", "writer", "holder"}.contains(argv[1]))
        return child(argc, argv);
    QApplication app(argc, argv);
    TestStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_store.moc"
