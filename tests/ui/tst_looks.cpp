// What the windows look like: each one pixel for pixel as the screenshots
// in docs/ show it, every control inside its window with its caption fitting,
// a glyph for every character and no unplanned overlap, every figure drawn
// whole, the chart drawn whole and clear for the widest figures, the icons,
// and a glyph for every character of every message.
#include "TestData.h"
#include "TestSupport.h"
#include "ui/Controls.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QImageReader>
#include <QPainter>
#include <QRawFont>
#include <cstdlib>

using namespace Qt::StringLiterals;

using namespace morvex;
using namespace morvex::test;

namespace {

#ifndef Q_OS_WIN
// Where a window differs from its screenshot, or nothing. Qt and FreeType
// releases antialias the edges of the same glyphs a little differently (up
// to 36 of 255 in a channel between Qt 6.4, 6.8 and 6.11, on some thousands of
// edge pixels); such a pixel still matches. A control moved or resized by one
// pixel, a cut caption, a figure drawn in part or another glyph turns ink into
// background somewhere, a difference of well over a quarter of the range.
// Away from any edge, where the screenshot is flat (one colour two pixels
// around), and on the lines and plain frames the program draws itself (its
// rules and separators, the borders of its cells and boxes), a pixel must
// match exactly: a fill, a background or a line in another colour is no
// antialiasing. (The style's own frames, a group box's say, are left to the
// style: Qt 6.8 draws them two pixels higher than Qt 6.4; a table header is
// not compared at all, since Qt 6.8 gives its sections wider margins.)
QString difference(QWidget *window, const QImage &expected) {
    constexpr int Antialiasing = 255 / 4; // the most a channel may differ by
    const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    if (shown.size() != expected.size())
        return QString::asprintf("size %dx%d, screenshot %dx%d", shown.width(), shown.height(),
                                 expected.width(), expected.height());
    QRegion lines, headers;
    for (const QWidget *child : window->findChildren<QWidget *>()) {
        if (!child->isVisibleTo(window))
            continue;
        const QRect box(child->mapTo(window, QPoint(0, 0)), child->size());
        if (child->inherits("QHeaderView"))
            headers += box;
        const auto *frame = qobject_cast<const QFrame *>(child);
        if (child->inherits("morvex::controls::Line"))
            lines += box;
        else if (frame && frame->frameShape() == QFrame::Box &&
                 frame->frameShadow() == QFrame::Plain)
            lines += QRegion(box) - box.adjusted(frame->lineWidth(), frame->lineWidth(),
                                                 -frame->lineWidth(), -frame->lineWidth());
    }
    auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= Antialiasing &&
               std::abs(qGreen(a) - qGreen(b)) <= Antialiasing &&
               std::abs(qBlue(a) - qBlue(b)) <= Antialiasing && qAlpha(a) == qAlpha(b);
    };
    auto flat = [&expected](int x, int y) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (expected.valid(x + dx, y + dy) &&
                    expected.pixel(x + dx, y + dy) != expected.pixel(x, y))
                    return false;
        return true;
    };
    QRect differs;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) != expected.pixel(x, y) && !headers.contains(QPoint(x, y)) &&
                (lines.contains(QPoint(x, y)) || flat(x, y) ||
                 !near(shown.pixel(x, y), expected.pixel(x, y))))
                differs |= QRect(x, y, 1, 1);
    if (differs.isNull())
        return {};
    const QWidget *under = window->childAt(differs.center());
    return QString::asprintf("differs in (%d,%d)-(%d,%d), around ", differs.left(), differs.top(),
                             differs.right(), differs.bottom()) +
           (under ? under : window)->objectName();
}

#endif

QString missingGlyphs(const QFont &font, const QString &text) {
    const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::Japanese);
    QString missing;
    for (char32_t c : text.toUcs4())
        if (!QChar::isSpace(c) && QChar::category(c) != QChar::Other_Control &&
            !raw.supportsCharacter(c))
            missing += QString::fromUcs4(&c, 1);
    return missing;
}

} // namespace

class TestLooks : public QObject {
    Q_OBJECT
    std::optional<ProgramRun> run_;

private slots:
    void initTestCase() {
        QVERIFY2(japaneseDesktopLacks().isEmpty(), qPrintable(japaneseDesktopLacks()));
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    }
    void init() {
        run_.emplace();
        showTypicalRequest();
    }
    void cleanup() { run_.reset(); }

    void windows_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("picture");
        QTest::newRow("frmMain") << u"frmMain"_s << u"Morvex"_s
                                 << u"docs/screenshots/frmMain.png"_s;
        QTest::newRow("frmInvestTable")
            << u"frmInvestTable"_s << u"投資額表"_s << u"docs/screenshots/frmInvestTable.png"_s;
        QTest::newRow("frmChart") << u"frmChart"_s << u"投資額グラフ"_s
                                  << u"docs/screenshots/frmChart.png"_s;
        QTest::newRow("frmUsage") << u"frmUsage"_s << u"Morvexの使い方"_s
                                  << u"docs/screenshots/frmUsage.png"_s;
        QTest::newRow("frmAbout") << u"frmAbout"_s << u"Morvexのﾊﾞｰｼﾞｮﾝ情報"_s
                                  << u"docs/screenshots/frmAbout.png"_s;
        // opened after the typical request, odds of 3.0 typed, no race yet
        QTest::newRow("frmRaceLog")
            << u"frmRaceLog"_s << u"レース記録"_s << u"tests/ui/frmRaceLog.png"_s;
    }

    // Each window pixel for pixel as its screenshot (scripts/render-screenshots
    // renders them again), under its title. Only the rules and two labels run past the edge,
    // as the layout has them; controls share at most a border line, but for
    // the overlapping headings, the frame around two lines of text and the
    // two strokes of the etched separator; captions fit; every character has
    // a glyph.
    void windows() {
        QFETCH(QString, name);
        QFETCH(QString, title);
        QFETCH(QString, picture);
        const QImage expected = QImage(QStringLiteral(MORVEX_SOURCE_DIR "/") + picture)
                                    .convertToFormat(QImage::Format_ARGB32);
        if (name == u"frmRaceLog"_s)
            showRaceLog();
        const QStringList pastTheEdge{u"frmMain/Line1"_s, u"frmInvestTable/lblUpRate"_s,
                                      u"frmAbout/Line1_0"_s, u"frmAbout/Line1_1"_s,
                                      u"frmAbout/llblCopyRight"_s};
        const QStringList overlapping{u"lblStartAmount lblOdds"_s, u"lblOdds lblUpRate"_s,
                                      u"Shape1 lblDescription"_s, u"Shape1 Label2"_s,
                                      u"Line1_1 Line1_0"_s};
        onWindow(name, [&](QWidget *shown) {
#ifdef Q_OS_WIN
            // The screenshots are rendered on Linux; Windows draws text
            // with a font engine of its own.
            Q_UNUSED(expected);
#else
            const QString differs = difference(shown, expected);
            QVERIFY2(differs.isEmpty(), qPrintable(name + u": "_s + differs));
#endif
            QCOMPARE(shown->windowTitle(), title);
            QVERIFY(missingGlyphs(shown->font(), title).isEmpty());
            for (QWidget *a : shown->findChildren<QWidget *>()) {
                if (!a->isVisibleTo(shown) || a->parentWidget()->inherits("QComboBox"))
                    continue;
                const QString text =
                    a->property("text").toString() + a->property("title").toString();
                QVERIFY2(missingGlyphs(a->font(), text).isEmpty(), qPrintable(text));
                QVERIFY2(pastTheEdge.contains(name + u'/' + a->objectName()) ||
                             a->parentWidget()->rect().contains(a->geometry()),
                         qPrintable(a->objectName()));
                for (QWidget *b :
                     a->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                    const QRect common = a->geometry() & b->geometry();
                    QVERIFY2(a >= b || !b->isVisibleTo(shown) || common.width() <= 1 ||
                                 common.height() <= 1 ||
                                 overlapping.contains(a->objectName() + u' ' + b->objectName()) ||
                                 overlapping.contains(b->objectName() + u' ' + a->objectName()),
                             qPrintable(a->objectName() + u" / "_s + b->objectName()));
                }
                const auto *label = qobject_cast<QLabel *>(a);
                const auto *button = qobject_cast<QPushButton *>(a);
                if (label && !qobject_cast<controls::Cell *>(a))
                    QVERIFY2((label->wordWrap()
                                  ? label->heightForWidth(label->width()) <= label->height()
                                  : label->fontMetrics().horizontalAdvance(label->text()) <=
                                        label->contentsRect().width()) &&
                                 label->fontMetrics().height() <= label->height(),
                             qPrintable(a->objectName()));
                if (button && !button->inherits("morvex::controls::WrappingButton"))
                    QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) <
                                 button->width() - 8,
                             qPrintable(a->objectName()));
                // The widest figure an amount can have fits every result field
                // and figure cell whole, condensed if need be, and is its
                // accessible name.
                auto *figure = qobject_cast<controls::Cell *>(a);
                if (!figure || figure->accessibleDescription().isEmpty() ||
                    figure->objectName().startsWith(u"lblDefeats"))
                    continue;
                figure->setText(u"-922,337,203,685,477"_s);
                QVERIFY2(shownWhole(figure), qPrintable(figure->objectName()));
                QCOMPARE(QAccessible::queryAccessibleInterface(figure)->text(QAccessible::Name),
                         figure->text());
            }
        });
    }

    // Every text of the chart lies inside it and clear of the others, the
    // amounts on a round axis in "#,##0"; the sentence fits its lines.
    void chartWhole_data() {
        addRowsFrom("ui/charts.txt");
    }

    void chartWhole() {
        const auto [start, odds, bankroll, picture, texts] = cells<5>();
        const QString Chart = u"frmChart"_s;
        showChart(start, odds, bankroll);
        auto *chart = control<QFrame>(Chart, u"picChart"_s);
        const auto drawn = drawnTexts(chart);
        QStringList seen;
        for (const auto &[text, box] : drawn) {
            seen.append(text);
            QVERIFY2(QRectF(chart->contentsRect()).contains(box), qPrintable(text));
            for (const auto &[other, otherBox] : drawn)
                QVERIFY2(&other == &text || !box.intersects(otherBox),
                         qPrintable(text + u" / "_s + other));
            QVERIFY2(missingGlyphs(chart->font(), text).isEmpty(), qPrintable(text));
        }
        QCOMPARE(seen.join(u" / "_s), texts);
        auto *reach = control<QLabel>(Chart, u"lblReach"_s);
        QVERIFY(reach->heightForWidth(reach->width()) <= reach->height());
#ifndef Q_OS_WIN
        const QString differs =
            picture.isEmpty()
                ? QString()
                : difference(window(Chart),
                             QImage(QStringLiteral(MORVEX_SOURCE_DIR "/tests/") + picture)
                                 .convertToFormat(QImage::Format_ARGB32));
        QVERIFY2(differs.isEmpty(), qPrintable(differs));
#endif
    }

    // Every size of the icon is in the resources, reached through the static
    // libraries the windows are built of, opaque in the middle; the
    // .ico for Windows holds the sizes it asks for, made of the same
    // pictures, as is the program's icon (none of its sizes scaled from
    // another).
    void icons() {
        for (int size : {MORVEX_ICON_SIZES}) {
            const QImage png(u":/icons/morvex-%1.png"_s.arg(size));
            QCOMPARE(png.size(), QSize(size, size));
            QVERIFY(png.hasAlphaChannel() && qAlpha(png.pixel(size / 2, size / 2)) == 255);
        }
        QImageReader ico(QStringLiteral(MORVEX_SOURCE_DIR "/resources/icons/morvex.ico"), "ico");
        QList<int> sizes;
        for (int i = 0; i < ico.imageCount() && ico.jumpToImage(i); ++i) {
            const QImage image = ico.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            sizes.append(image.width());
            QCOMPARE(image, QImage(u":/icons/morvex-%1.png"_s.arg(image.width()))
                                .convertToFormat(QImage::Format_ARGB32_Premultiplied));
            if (image.width() < 64) // the program's icon up to a task switcher's size
                QCOMPARE(QApplication::windowIcon().pixmap(image.width()).toImage(), image);
        }
        std::sort(sizes.begin(), sizes.end());
        QCOMPARE(sizes, (QList<int>{16, 32, 48, 256}));
    }

    // A text too wide for its box is condensed into it, and the painter is
    // left as it was for whatever is drawn after it.
    void condensedText() {
        QImage image(300, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(QApplication::font());
        controls::drawCondensed(painter, {10, 0, 50, 20}, Qt::AlignLeft, u"-922,337,203,685,477"_s);
        QCOMPARE(painter.transform(), QTransform());
        painter.end();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                QVERIFY(image.pixel(x, y) == qRgb(255, 255, 255) || (x >= 10 && x < 60));
    }

    // Every message has a glyph for every character in the message boxes'
    // font (the windows' texts are checked with their looks).
    void glyphs() {
        QCOMPARE(missingGlyphs(QApplication::font(), u"a😀あ"_s), u"😀"_s); // it sees a gap
        MessageRecorder boxes;
        for (const char *inputs : {"|3", "99|3", "1000|", "1000|1", "1e20|3", "1000|1.00000001"}) {
            enterInputs(QString::fromLatin1(inputs).section(u'|', 0, 0),
                        QString::fromLatin1(inputs).section(u'|', 1), 2);
            press(u"frmMain"_s, u"btnCalcAmount"_s);
        }
        QCOMPARE(boxes.messages.size(), 6);
        for (const QString &message : boxes.messages)
            QVERIFY2(missingGlyphs(QApplication::font(), message).isEmpty(), qPrintable(message));
    }
};

QTEST_MAIN(TestLooks)
#include "tst_looks.moc"
