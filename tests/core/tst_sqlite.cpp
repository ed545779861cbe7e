// Qt SQL's SQLite driver, which keeps the record of races, as each build
// carries it (under Wine the Windows build's own, SQLite inside it): a
// database in a folder with a Japanese name keeps what a committed
// transaction wrote and nothing of one rolled back, once opened again; and
// while one connection writes, a second one, in either journal mode, is
// refused at once (it asked not to wait) and writes once the first commits.
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSqlite : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;

    // Opens the connection `name` to the test's database.
    bool open(const QString &name, const QString &options = {}) {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(folder_.filePath(
            u"記録 ﾚｰｽ　%1/races.sqlite"_s.arg(QLatin1StringView(QTest::currentDataTag()))));
        db.setConnectOptions(options);
        return db.open();
    }

    // Runs the statement: the first column of its rows, or its error.
    static QStringList run(const QString &connection, const QString &statement) {
        QSqlQuery query(QSqlDatabase::database(connection));
        if (!query.exec(statement))
            return {u"error: "_s + query.lastError().text()};
        QStringList column;
        while (query.next())
            column.append(query.value(0).toString());
        return column;
    }

private slots:
    void initTestCase() {
        QVERIFY2(QSqlDatabase::isDriverAvailable(u"QSQLITE"_s),
                 qPrintable(QSqlDatabase::drivers().join(u' ')));
        for (const char *tag : {"", "delete", "wal"})
            QVERIFY(QDir(folder_.path()).mkdir(u"記録 ﾚｰｽ　"_s + QLatin1StringView(tag)));
    }

    void cleanup() {
        for (const QString &name : QSqlDatabase::connectionNames())
            QSqlDatabase::removeDatabase(name);
    }

    void keepsWhatWasCommitted() {
        QVERIFY(open(u"first"_s));
        for (const QString &statement :
             {u"CREATE TABLE race (name TEXT, stake INTEGER)"_s, u"BEGIN"_s,
              u"INSERT INTO race VALUES ('東京11R', 922337203685477)"_s, u"COMMIT"_s, u"BEGIN"_s,
              u"INSERT INTO race VALUES ('中山１R', 100)"_s, u"ROLLBACK"_s})
            QCOMPARE(run(u"first"_s, statement), QStringList());
        QSqlDatabase::removeDatabase(u"first"_s);
        QVERIFY(open(u"again"_s));
        QCOMPARE(run(u"again"_s, u"SELECT name || ' ' || stake FROM race"_s),
                 QStringList{u"東京11R 922337203685477"_s});
        QCOMPARE(run(u"again"_s, u"PRAGMA integrity_check"_s), QStringList{u"ok"_s});
    }

    void oneWriterAtATime_data() {
        QTest::addColumn<QString>("mode");
        QTest::newRow("delete") << u"delete"_s;
        QTest::newRow("wal") << u"wal"_s;
    }

    void oneWriterAtATime() {
        QFETCH(QString, mode);
        QVERIFY(open(u"one"_s) && open(u"two"_s, u"QSQLITE_BUSY_TIMEOUT=0"_s));
        QCOMPARE(run(u"one"_s, u"PRAGMA journal_mode = "_s + mode), QStringList{mode});
        QCOMPARE(run(u"one"_s, u"CREATE TABLE race (name TEXT)"_s), QStringList());
        QCOMPARE(run(u"one"_s, u"BEGIN IMMEDIATE"_s), QStringList());
        QCOMPARE(run(u"one"_s, u"INSERT INTO race VALUES ('one')"_s), QStringList());
        QVERIFY(run(u"two"_s, u"INSERT INTO race VALUES ('two')"_s).value(0).contains(u"locked"_s));
        QCOMPARE(run(u"one"_s, u"COMMIT"_s), QStringList());
        QCOMPARE(run(u"two"_s, u"INSERT INTO race VALUES ('two')"_s), QStringList());
        QCOMPARE(run(u"two"_s, u"SELECT name FROM race ORDER BY rowid"_s),
                 (QStringList{u"one"_s, u"two"_s}));
    }
};

QTEST_GUILESS_MAIN(TestSqlite)

#include "tst_sqlite.moc"
