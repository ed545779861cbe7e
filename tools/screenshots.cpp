// Renders the program's windows to PNG files, as a user sees them after the
// typical request (start 1000, odds 3, 2 defeats). Usage: screenshots DIR
#include "app/Program.h"
#include "ui/LoadedWindows.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

QWidget *window(const QString &name) {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

void save(const QString &dir, const QString &name) {
    QApplication::processEvents();
    if (QWidget *w = window(name)) {
        const QString file = dir + u'/' + name + u".png"_qs;
        w->grab().save(file);
        std::printf("%s\n", qPrintable(file));
    }
}

} // namespace

int main(int argc, char *argv[]) {
    QTemporaryDir config; // start from the defaults, leave the user's settings alone
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);
    morvex::setMessageBoxHook([](auto &) {});
    morvex::startProgram();
    QWidget *main = window(QStringLiteral("frmMain"));
    main->findChild<QLineEdit *>(QStringLiteral("txtStartAmount"))->setText(QStringLiteral("1000"));
    main->findChild<QLineEdit *>(QStringLiteral("txtOdds"))->setText(QStringLiteral("3.0"));
    main->findChild<QComboBox *>(QStringLiteral("cmbDefeats"))->setCurrentIndex(2);
    main->findChild<QPushButton *>(QStringLiteral("btnCalcAmount"))->click();
    save(dir, QStringLiteral("frmMain"));
    for (const char *opener : {"btnTable", "btnUsage"}) {
        if (auto *button = main->findChild<QPushButton *>(QString::fromLatin1(opener)))
            button->click();
    }
    save(dir, QStringLiteral("frmInvestTable"));
    save(dir, QStringLiteral("frmUsage"));

    // The version window is modal: grab it while the button's handler waits
    // for it to close, then close it.
    QTimer::singleShot(0, [dir] {
        save(dir, QStringLiteral("frmAbout"));
        if (QWidget *about = window(QStringLiteral("frmAbout")))
            about->close();
    });
    if (auto *button = main->findChild<QPushButton *>(QStringLiteral("btnAbout")))
        button->click();
    return 0;
}
