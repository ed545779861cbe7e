// Renders the program's windows to PNG files, as a user sees them after the
// typical request (start 1000, odds 3.0, 2 defeats); with more file names,
// also the chart window for the widest figures and the race record opened
// after the typical request, which only the tests compare.
// Usage: screenshots DIR [CHART.png RECORD.png]
#include "app/Program.h"
#include "tools/Driver.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void save(QWidget *window, const QString &dir) {
    const QString file = dir + u'/' + window->objectName() + u".png"_s;
    window->grab().save(file);
    std::printf("%s\n", qPrintable(file));
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    morvex::driver::ScratchSettings settings; // from the defaults, never the user's
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);
    morvex::startProgram();
    morvex::driver::showTypicalRequest();
    for (const QString &name :
         {u"frmMain"_s, u"frmInvestTable"_s, u"frmChart"_s, u"frmUsage"_s, u"frmAbout"_s})
        morvex::driver::onWindow(name, [&](QWidget *window) { save(window, dir); });
    // Each further picture from a fresh start after the typical request.
    const auto again = [](const char *file, const QString &name, const auto &show) {
        morvex::driver::closeAll();
        morvex::startProgram();
        morvex::driver::showTypicalRequest();
        show();
        morvex::driver::window(name)->grab().save(QString::fromLocal8Bit(file));
        std::printf("%s\n", file);
    };
    if (argc > 2)
        again(argv[2], u"frmChart"_s,
              [] { morvex::driver::showChart(u"2147483647"_s, u"1.35"_s, u"922337203685477"_s); });
    if (argc > 3)
        again(argv[3], u"frmRaceLog"_s, [] { morvex::driver::showRaceLog(); });
    return 0;
}
