// A copy of the program that opens, takes the inputs and position given on
// its command line, and closes at once: two of these closing together show
// what concurrent closes do to the settings file.
// Usage: closing_copy START ODDS DEFEATS LEFT TOP (pixels)
#include "app/Program.h"
#include "ui/Form.h"
#include "ui/LoadedWindows.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (argc != 6)
        return 2;
    morvex::startProgram();
    QWidget *main = morvex::LoadedWindows::forms().constFirst();
    main->findChild<QLineEdit *>(QStringLiteral("txtStartAmount"))
        ->setText(QString::fromLocal8Bit(argv[1]));
    main->findChild<QLineEdit *>(QStringLiteral("txtOdds"))
        ->setText(QString::fromLocal8Bit(argv[2]));
    main->findChild<QComboBox *>(QStringLiteral("cmbDefeats"))->setCurrentIndex(atoi(argv[3]));
    main->move(atoi(argv[4]), atoi(argv[5]));
    QTimer::singleShot(0, main, &QWidget::close);
    return app.exec();
}
