#include "TestSupport.h"

#include <QFileInfo>
#include <QGuiApplication>

// What the started program tells the desktop about itself.
class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void desktopFileNameIsTheEntrysId() {
        morvex::test::ProgramRun run;
        QCOMPARE(QGuiApplication::desktopFileName() + u".desktop"_qs,
                 QFileInfo(QStringLiteral(MORVEX_DESKTOP_FILE)).fileName());
    }
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
