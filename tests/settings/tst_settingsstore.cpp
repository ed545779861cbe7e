// The settings store keeps whatever text it is given and gives it back.
#include "TestSupport.h"
#include "settings/SettingsStore.h"

#include <QFile>

using namespace morvex;
using namespace morvex::settings;

class TestSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void init() { config_ = std::make_unique<test::ScopedConfigDir>(); }
    void cleanup() { config_.reset(); }
    void roundTrip_data();
    void roundTrip();
    void missingEntryGivesDefault();
    void handEditedListReadsAsText();
    void oneFilePerApplicationName();

private:
    std::unique_ptr<test::ScopedConfigDir> config_;
};

void TestSettingsStore::roundTrip_data() {
    QTest::addColumn<QString>("value");
    const QString values[] = {
        u"abc"_qs,   u"1,000"_qs,       u"="_qs,     u";"_qs,           u"#"_qs,
        u" 1000"_qs, u"3 "_qs,          u"a\\b"_qs,  u"１，０００"_qs,  u"倍率　ｵｯｽﾞ"_qs,
        QString(),   u"@Variant(0)"_qs, u"\"q\""_qs, u"[Condition]"_qs, u"line\nbreak"_qs,
        u"a,b,c"_qs, u"x;y#z"_qs};
    for (const QString &value : values)
        QTest::newRow(qPrintable(value.isEmpty() ? u"(empty)"_qs : value)) << value;
}

// Written, then read back through a fresh store, with neighbours around it.
void TestSettingsStore::roundTrip() {
    QFETCH(QString, value);
    QVERIFY(writeSetting(u"Morvex"_qs, u"Condition"_qs, u"StartAmount"_qs, value));
    QVERIFY(writeSetting(u"Morvex"_qs, u"Condition"_qs, u"Odds"_qs, u"3"_qs));
    QCOMPARE(readSetting(u"Morvex"_qs, u"Condition"_qs, u"StartAmount"_qs, u"default"_qs), value);
    QCOMPARE(readSetting(u"Morvex"_qs, u"Condition"_qs, u"Odds"_qs, QString()), u"3"_qs);
}

void TestSettingsStore::missingEntryGivesDefault() {
    QCOMPARE(readSetting(u"Morvex"_qs, u"MainWindow"_qs, u"WindowTop"_qs, u"1200"_qs), u"1200"_qs);
    QVERIFY(!QFile::exists(storePath(u"Morvex"_qs))); // reading creates nothing
    writeSetting(u"Morvex"_qs, u"MainWindow"_qs, u"WindowLeft"_qs, u"15"_qs);
    QCOMPARE(readSetting(u"Morvex"_qs, u"MainWindow"_qs, u"WindowTop"_qs, u"1200"_qs), u"1200"_qs);
}

// An unquoted comma typed into the file by hand is still the text it shows.
void TestSettingsStore::handEditedListReadsAsText() {
    QFile file(storePath(u"Morvex"_qs));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Condition]\nStartAmount=1,000\nOdds= 2.5 \n");
    file.close();
    QCOMPARE(readSetting(u"Morvex"_qs, u"Condition"_qs, u"StartAmount"_qs, QString()), u"1,000"_qs);
    QCOMPARE(readSetting(u"Morvex"_qs, u"Condition"_qs, u"Odds"_qs, QString()), u"2.5"_qs);
}

void TestSettingsStore::oneFilePerApplicationName() {
    QCOMPARE(applicationName(), u"tst_settingsstore"_qs);
    QCOMPARE(storePath(u"Morvex"_qs), config_->path() + u"/Morvex.ini"_qs);
    writeSetting(u"Morvex"_qs, u"Condition"_qs, u"Odds"_qs, u"4"_qs);
    writeSetting(u"Renamed"_qs, u"Condition"_qs, u"Odds"_qs, u"5"_qs);
    QCOMPARE(readSetting(u"Morvex"_qs, u"Condition"_qs, u"Odds"_qs, QString()), u"4"_qs);
    QCOMPARE(readSetting(u"Renamed"_qs, u"Condition"_qs, u"Odds"_qs, QString()), u"5"_qs);
}

QTEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
