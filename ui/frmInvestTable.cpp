#include "ui/frmInvestTable.h"

#include "core/CommonModule.h"
#include "core/FaultWatch.h"
#include "core/NumberText.h"
#include "settings/WindowPosition.h"
#include "ui/Controls.h"

#include <QAction>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <algorithm>

namespace morvex {

using controls::at;

namespace {

QPointer<frmInvestTable> loaded;

const QString TableWindowSection = QStringLiteral("TableWindow");

// Left edges and widths of the five columns, twips.
constexpr int ColumnLeft[frmInvestTable::Columns] = {240, 960, 1920, 2880, 3840};
constexpr int ColumnWidth[frmInvestTable::Columns] = {735, 975, 975, 975, 975};
constexpr int HeaderTop = 480;
constexpr int FirstRowTop = 720;
constexpr int RowPitch = 240;
constexpr int CellHeight = 255;

QRect gridCell(int column, int top) {
    return at(ColumnLeft[column], top, ColumnWidth[column], CellHeight);
}

QString indexed(const char16_t *name, int index) {
    return QString::fromUtf16(name) + u'_' + QString::number(index);
}

// One of the three headings above the grid. Their boxes overlap by design,
// each drawn over its left neighbour, so that the start of every heading
// stays in view. A text too long for the room up to the next heading (for
// the last one, up to the window's edge) is narrowed to fit rather than
// running into its neighbour or being cut off, so that a large start amount
// or odds with many digits stay readable whole.
class Heading : public QLabel {
public:
    using QLabel::QLabel;

    void setRoom(int pixels) { room_ = pixels; }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        const QString shown = text();
        const int natural = fontMetrics().horizontalAdvance(shown);
        const int room = room_ > 0 ? std::min(room_, width()) : width();
        if (natural > room)
            painter.scale(double(room) / natural, 1.0);
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(QRect(0, 0, std::max(natural, room), height()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
    }

private:
    int room_ = 0;
};

} // namespace

frmInvestTable::frmInvestTable()
    : Form(QStringLiteral("frmInvestTable"), u"投資額表"_qs, 4995, 3855, Frame::FixedDialog) {
    using namespace controls;
    loaded = this;
    const QString headers[Columns] = {u"連敗数"_qs, u"今回投資額"_qs, u"累計投資額"_qs,
                                      u"的中回収額"_qs, u"的中時利益"_qs};

    Heading *startHeading = controls::label<Heading>(
        this, u"lblStartAmount"_qs, u"開始金額：1000円"_qs, at(240, 120, 1935, 255));
    Heading *oddsHeading =
        controls::label<Heading>(this, u"lblOdds"_qs, u"倍率：3.0倍"_qs, at(2040, 120, 1455, 255));
    Heading *upRateHeading = controls::label<Heading>(this, u"lblUpRate"_qs, u"上昇率：1.5倍"_qs,
                                                      at(3360, 120, 1695, 255));
    const int gap = QFontMetrics(font()).averageCharWidth() / 2; // between two headings
    startHeading->setRoom(oddsHeading->x() - startHeading->x() - gap);
    oddsHeading->setRoom(upRateHeading->x() - oddsHeading->x() - gap);
    upRateHeading->setRoom(width() - upRateHeading->x());
    lblStartAmount = startHeading;
    lblOdds = oddsHeading;
    lblUpRate = upRateHeading;
    for (int c = 0; c < Columns; ++c) {
        lblHeader[c] = cell(this, indexed(u"lblHeader", c), headers[c], gridCell(c, HeaderTop),
                            Qt::AlignHCenter);
        lblHeader[c]->setBackgroundRole(QPalette::Midlight); // the 3-D light colour
        lblHeader[c]->setForegroundRole(QPalette::ButtonText);
    }
    for (int i = 0; i < Rows; ++i) {
        const int top = FirstRowTop + RowPitch * i;
        const QString defeats = QString::number(i);
        // Screen readers announce each figure with its column and its row.
        auto caption = [&](int column) { return headers[column] + u' ' + defeats; };
        lblDefeats[i] = cell(this, indexed(u"lblDefeats", i), defeats, gridCell(0, top),
                             Qt::AlignHCenter, headers[0]);
        lblInvest[i] = cell(this, indexed(u"lblInvest", i), u"0"_qs, gridCell(1, top),
                            Qt::AlignRight, caption(1));
        lblTotal[i] = cell(this, indexed(u"lblTotal", i), u"0"_qs, gridCell(2, top), Qt::AlignRight,
                           caption(2));
        lblRecovery[i] = cell(this, indexed(u"lblRecovery", i), u"0"_qs, gridCell(3, top),
                              Qt::AlignRight, caption(3));
        lblProfit[i] = cell(this, indexed(u"lblProfit", i), u"0"_qs, gridCell(4, top),
                            Qt::AlignRight, caption(4));
    }
    OKButton = button(this, u"OKButton"_qs, u"OK"_qs, at(3480, 3360, 1215, 375));
    // Neither default nor cancel: Esc leaves the window open, Enter presses
    // the button because it is the only control that takes the focus.
    OKButton->setAutoDefault(false);
    OKButton->setFocus();

    // For keeping records: the figures go to the clipboard as a small
    // spreadsheet, from the keyboard or from the window's context menu.
    copyAction = new QAction(u"表をコピー"_qs, this);
    copyAction->setObjectName(u"copyAction"_qs);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WindowShortcut);
    addAction(copyAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(OKButton, &QPushButton::clicked, this, &frmInvestTable::OKButton_Click);
    connect(copyAction, &QAction::triggered, this, &frmInvestTable::copyTable);

    Form_Load();
}

frmInvestTable *frmInvestTable::instance() {
    return loaded;
}

void frmInvestTable::ShowDialog(std::int32_t lStartAmount, float fOdds) {
    frmInvestTable *form = loaded;
    const bool wasLoaded = form != nullptr;
    if (!wasLoaded)
        form = new frmInvestTable;
    form->lStartAmount = lStartAmount;
    form->fOdds = fOdds;
    try {
        form->FillTable();
    } catch (...) {
        // A window loaded for this call and never shown must not stay loaded:
        // a loaded window keeps the program running. It goes away without
        // its unload handler, so nothing is saved for a window the user has
        // not seen; its stored position stays as it was.
        if (!wasLoaded)
            delete form;
        throw;
    }
    form->setWindowState(form->windowState() & ~Qt::WindowMinimized);
    form->show();
    form->raise();
    form->activateWindow();
}

// The payout and the profit are worked out from the texts already shown, so
// that the profit is always the difference of the two whole numbers in its
// row. Cells are written one by one: an error leaves the rows before the
// failing one with their new figures and the rest as they were.
void frmInvestTable::FillTable() {
    const float up = CalcUpRate(fOdds);
    for (std::int16_t i = 0; i < Rows; ++i) {
        lblInvest[i]->setText(FormatAmount(CalcInvestAmount(lStartAmount, up, i)));
        lblTotal[i]->setText(FormatAmount(CalcTotalAmount(lStartAmount, up, i)));

        FaultWatch fp;
        const double recovery = fp.mul(ToNumber(lblInvest[i]->text()), double(fOdds));
        fp.check();
        lblRecovery[i]->setText(FormatAmount(recovery));

        const double profit =
            fp.sub(ToNumber(lblRecovery[i]->text()), ToNumber(lblTotal[i]->text()));
        fp.check();
        lblProfit[i]->setText(FormatAmount(profit));
    }
    lblStartAmount->setText(u"開始金額："_qs + FormatAmount(double(lStartAmount)) + u"円"_qs);
    lblOdds->setText(u"倍率："_qs + SingleText(fOdds) + u"倍"_qs);
    lblUpRate->setText(u"上昇率："_qs + SingleText(up) + u"倍"_qs);
}

QString frmInvestTable::tableText() const {
    auto line = [](std::initializer_list<const QLabel *> cells) {
        QStringList texts;
        for (const QLabel *cell : cells)
            texts.append(cell->text());
        return texts.join(u'\t') + u'\n';
    };
    QString text = line({lblStartAmount, lblOdds, lblUpRate});
    text += line({lblHeader[0], lblHeader[1], lblHeader[2], lblHeader[3], lblHeader[4]});
    for (int i = 0; i < Rows; ++i)
        text += line({lblDefeats[i], lblInvest[i], lblTotal[i], lblRecovery[i], lblProfit[i]});
    return text;
}

void frmInvestTable::copyTable() {
    QGuiApplication::clipboard()->setText(tableText());
}

void frmInvestTable::OKButton_Click() {
    close();
}

void frmInvestTable::Form_Load() {
    restorePosition(this, TableWindowSection, 1300);
}

void frmInvestTable::Form_Unload() {
    savePosition(this, TableWindowSection);
    // Gone for the program before Qt deletes it: the next press loads anew.
    if (loaded == this)
        loaded = nullptr;
}

} // namespace morvex
