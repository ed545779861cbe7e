#include "app/CommandLine.h"
#include "app/Program.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    if (const std::optional<int> status = morvex::answerCommandLine(argc, argv))
        return *status;
    QApplication application(argc, argv);
    morvex::startProgram();
    return application.exec();
}
