// The smallest Qt Widgets program with a window: the yardstick Morvex's
// start-up is measured against. It shows one empty top-level widget with the
// main window's client size (6765 × 3105 twips) and nothing else.
//
// With --label the window holds one line of Japanese text in a family named
// explicitly: the least that any window showing text pays, since only then
// does Qt set up fontconfig and open a font.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.resize(451, 207);
    if (QApplication::arguments().contains(QStringLiteral("--label"))) {
        QFont font(QStringLiteral("IPAPGothic"), 9);
        window.setFont(font);
        auto *label = new QLabel(QStringLiteral("開始金額"), &window);
        label->move(16, 48);
    }
    window.show();
    return application.exec();
}
