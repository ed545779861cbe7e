// Every text the program shows has a glyph in the font it is drawn with:
// no boxes in place of characters, and no silent fallback to another font.
#include "TestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRawFont>
#include <QTimer>

using namespace morvex;
using namespace morvex::test;

namespace {

// The characters of `text` that `font` itself cannot draw.
QString missingGlyphs(const QFont &font, const QString &text) {
    const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::Japanese);
    QString missing;
    for (char32_t c : text.toUcs4()) {
        if (QChar::isSpace(c) || QChar::category(c) == QChar::Other_Control)
            continue;
        if (!raw.supportsCharacter(c))
            missing += QString::fromUcs4(&c, 1);
    }
    return missing;
}

// Checks every caption, field, button, frame, box and list item of a window.
void checkWindow(QWidget *window) {
    QVERIFY(window);
    QList<QPair<QWidget *, QString>> texts{{window, window->windowTitle()}};
    for (QLabel *label : window->findChildren<QLabel *>())
        texts.append({label, label->text()});
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>())
        texts.append({button, button->text()});
    for (QGroupBox *frame : window->findChildren<QGroupBox *>())
        texts.append({frame, frame->title()});
    for (QLineEdit *box : window->findChildren<QLineEdit *>())
        texts.append({box, box->text()});
    for (QComboBox *list : window->findChildren<QComboBox *>())
        for (int i = 0; i < list->count(); ++i)
            texts.append({list, list->itemText(i)});
    for (const auto &[widget, text] : texts) {
        const QString missing = missingGlyphs(widget->font(), text);
        QVERIFY2(missing.isEmpty(), qPrintable(widget->objectName() + u": "_qs + missing));
    }
}

} // namespace

class TestGlyphs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }
    void init() { run_.emplace(); }
    void cleanup() { run_.reset(); }
    void everyWindow();
    void everyMessage();

private:
    std::optional<ProgramRun> run_;
};

void TestGlyphs::everyWindow() {
    QWidget *main = loadedWindow(u"frmMain"_qs);
    QCOMPARE(missingGlyphs(main->font(), u"a😀あ"_qs), u"😀"_qs); // the check can see a gap
    child<QPushButton>(main, u"btnCalcAmount"_qs)->click();
    checkWindow(main);
    child<QPushButton>(main, u"btnTable"_qs)->click();
    checkWindow(loadedWindow(u"frmInvestTable"_qs));
    child<QPushButton>(main, u"btnUsage"_qs)->click();
    checkWindow(loadedWindow(u"frmUsage"_qs));
    bool aboutChecked = false;
    QTimer::singleShot(0, [&] {
        QWidget *about = loadedWindow(u"frmAbout"_qs);
        checkWindow(about);
        aboutChecked = true;
        if (about)
            about->close();
    });
    child<QPushButton>(main, u"btnAbout"_qs)->click();
    QVERIFY(aboutChecked);
}

// Every message box: title and text, in the font message boxes use.
void TestGlyphs::everyMessage() {
    QWidget *main = loadedWindow(u"frmMain"_qs);
    auto *start = child<QLineEdit>(main, u"txtStartAmount"_qs);
    auto *odds = child<QLineEdit>(main, u"txtOdds"_qs);
    QList<QPair<QString, QString>> cases{{u""_qs, u"3"_qs},     {u"99"_qs, u"3"_qs},
                                         {u"1000"_qs, u""_qs},  {u"1000"_qs, u"1"_qs},
                                         {u"1e20"_qs, u"3"_qs}, {u"1000"_qs, u"1.00000001"_qs}};
    int seen = 0;
    setMessageBoxHook([&](QMessageBox &box) {
        ++seen;
        const QString missing = missingGlyphs(box.font(), box.windowTitle() + box.text());
        QVERIFY2(missing.isEmpty(), qPrintable(box.text() + u": "_qs + missing));
    });
    for (const auto &[startText, oddsText] : cases) {
        start->setText(startText);
        odds->setText(oddsText);
        child<QPushButton>(main, u"btnCalcAmount"_qs)->click();
    }
    setMessageBoxHook({});
    QCOMPARE(seen, cases.size());
}

QTEST_MAIN(TestGlyphs)
#include "tst_glyphs.moc"
