// Qt SQL's SQLite driver, which keeps the record of races, as each build
// carries it (under Wine the Windows build's own, SQLite inside it): a
// database in a folder with a Japanese name keeps what a committed
// transaction wrote, and nothing of one rolled back, once opened again.
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSqlite : public QObject {
    Q_OBJECT
private slots:
    void keepsWhatWasCommitted() {
        QVERIFY2(QSqlDatabase::isDriverAvailable(u"QSQLITE"_s),
                 qPrintable(QSqlDatabase::drivers().join(u' ')));
        const QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(u"記録 ﾚｰｽ　"_s));
        // Opens the database on a connection of its own and runs the
        // statements: the first column of the last one's rows, or an error.
        const auto run = [&folder](const QString &connection, const QStringList &statements) {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, connection);
            db.setDatabaseName(folder.filePath(u"記録 ﾚｰｽ　/races.sqlite"_s));
            if (!db.open())
                return QStringList{db.lastError().text()};
            QSqlQuery query(db);
            for (const QString &statement : statements)
                if (!query.exec(statement))
                    return QStringList{query.lastError().text()};
            QStringList rows;
            while (query.next())
                rows.append(query.value(0).toString());
            return rows;
        };
        QCOMPARE(run(u"first"_s,
                     {u"CREATE TABLE race (name TEXT, stake INTEGER)"_s, u"BEGIN"_s,
                      u"INSERT INTO race VALUES ('東京11R', 922337203685477)"_s, u"COMMIT"_s,
                      u"BEGIN"_s, u"INSERT INTO race VALUES ('中山１R', 100)"_s, u"ROLLBACK"_s}),
                 QStringList());
        QSqlDatabase::database(u"first"_s).close();
        QCOMPARE(run(u"again"_s, {u"SELECT name || ' ' || stake FROM race"_s}),
                 QStringList{u"東京11R 922337203685477"_s});
    }
};

QTEST_GUILESS_MAIN(TestSqlite)

#include "tst_sqlite.moc"
