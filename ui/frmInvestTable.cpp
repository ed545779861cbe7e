#include "ui/frmInvestTable.h"

#include "core/Export.h"
#include "core/Plan.h"
#include "core/RuntimeError.h"
#include "settings/Keys.h"
#include "ui/Controls.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/frmChart.h"

#include <QAction>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

// Left edges and widths of the five columns, twips.
constexpr int ColumnLeft[frmInvestTable::Columns] = {240, 960, 1920, 2880, 3840};
constexpr int ColumnWidth[frmInvestTable::Columns] = {735, 975, 975, 975, 975};
constexpr int HeaderTop = 480;
constexpr int FirstRowTop = 720;
constexpr int RowPitch = 240;
constexpr int CellHeight = 255;

TwipsRect gridCell(int column, int top) {
    return {ColumnLeft[column], top, ColumnWidth[column], CellHeight};
}

QString indexed(const char16_t *name, int index) {
    return QString::fromUtf16(name) + u'_' + QString::number(index);
}

} // namespace

frmInvestTable::frmInvestTable()
    : Form({u"frmInvestTable"_s, u"投資額表"_s, 4995, 3855, Frame::FixedDialog,
            settings::TableWindow, settings::OtherWindowDefaultTwips}) {
    using namespace controls;
    const QStringList &headers = PlanTable::Headers;

    // The boxes of the three headings overlap by design, each drawn over its
    // left neighbour so that the start of every heading stays in view; each
    // text is condensed to its room up to the next heading (the last one's,
    // up to the window's edge).
    lblStartAmount = controls::label<Cell>(this, u"lblStartAmount"_s, u"開始金額：1000円"_s,
                                           {240, 120, 1935, 255});
    lblOdds = controls::label<Cell>(this, u"lblOdds"_s, u"倍率：3.0倍"_s, {2040, 120, 1455, 255});
    lblUpRate =
        controls::label<Cell>(this, u"lblUpRate"_s, u"上昇率：1.5倍"_s, {3360, 120, 1695, 255});
    const int gap = QFontMetrics(font()).averageCharWidth() / 2; // between two headings
    lblStartAmount->setRoom(lblOdds->x() - lblStartAmount->x() - gap);
    lblOdds->setRoom(lblUpRate->x() - lblOdds->x() - gap);
    lblUpRate->setRoom(width() - lblUpRate->x());
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
        lblInvest[i] = cell(this, indexed(u"lblInvest", i), u"0"_s, gridCell(1, top),
                            Qt::AlignRight, caption(1));
        lblTotal[i] = cell(this, indexed(u"lblTotal", i), u"0"_s, gridCell(2, top), Qt::AlignRight,
                           caption(2));
        lblRecovery[i] = cell(this, indexed(u"lblRecovery", i), u"0"_s, gridCell(3, top),
                              Qt::AlignRight, caption(3));
        lblProfit[i] = cell(this, indexed(u"lblProfit", i), u"0"_s, gridCell(4, top),
                            Qt::AlignRight, caption(4));
    }
    OKButton = button(this, u"OKButton"_s, u"OK"_s, {3480, 3360, 1215, 375});
    // Neither default nor cancel: Esc leaves the window open, Enter presses
    // the button because it is the only control that takes the focus.
    OKButton->setFocus();

    // For keeping records: the figures go to the clipboard as a small
    // spreadsheet, or to a file for one; and the plan as a picture. From the
    // keyboard or from the window's context menu.
    copyAction = windowAction(this, u"copyAction"_s, u"表をコピー"_s, QKeySequence::Copy);
    saveAction = windowAction(this, u"saveAction"_s, u"CSVで保存..."_s, QKeySequence::Save);
    chartAction = windowAction(this, u"chartAction"_s, u"グラフ"_s);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(OKButton, &QPushButton::clicked, this, &frmInvestTable::OKButton_Click);
    connect(copyAction, &QAction::triggered, this, &frmInvestTable::copyTable);
    connect(saveAction, &QAction::triggered, this, &frmInvestTable::saveTable);
    connect(chartAction, &QAction::triggered, this, &frmInvestTable::showChart);
}

void frmInvestTable::ShowDialog(std::int32_t lStartAmount, float fOdds) {
    const bool wasLoaded = loaded<frmInvestTable>() != nullptr;
    frmInvestTable *form = load<frmInvestTable>();
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
            LoadedWindows::release(form);
        throw;
    }
    frmChart::Follow(form->table_);
    form->bringToFront();
}

// The cells show the table as the fill left it, whether it came through or
// not: what it did not write again is drawn stale, so that what looks like
// a result of these inputs is one.
void frmInvestTable::FillTable() {
    try {
        table_.fill({lStartAmount, fOdds});
    } catch (const RuntimeError &) {
        showTable();
        throw;
    }
    showTable();
}

void frmInvestTable::showTable() {
    auto write = [](controls::Cell *cell, const TableCell &shown) {
        cell->setText(shown.text);
        cell->setStale(shown.stale);
    };
    write(lblStartAmount, table_.heading(0));
    write(lblOdds, table_.heading(1));
    write(lblUpRate, table_.heading(2));
    for (int i = 0; i < Rows; ++i) {
        write(lblInvest[i], table_.figure(i, PlanTable::Stake));
        write(lblTotal[i], table_.figure(i, PlanTable::Total));
        write(lblRecovery[i], table_.figure(i, PlanTable::Payout));
        write(lblProfit[i], table_.figure(i, PlanTable::Profit));
    }
}

// A table that a failed fill left part old, part new belongs to no inputs:
// before it is saved or drawn, the fill is tried again, and its failure told
// as before.
bool frmInvestTable::isWhole() {
    if (table_.isWhole())
        return true;
    try {
        FillTable();
        return true;
    } catch (const RuntimeError &error) {
        ShowRuntimeError(error);
        return false;
    }
}

// The file's contents are taken before the dialog opens; nothing of the
// window is touched once it has closed.
void frmInvestTable::saveTable() {
    if (!isWhole())
        return;
    SaveCsvFile(this, table_.fileName(), CsvDocument(table_.csvRecords()));
}

void frmInvestTable::showChart() {
    if (isWhole())
        frmChart::ShowDialog(table_);
}

void frmInvestTable::copyTable() {
    QGuiApplication::clipboard()->setText(table_.text());
}

// The chart draws this table's plan: it closes first, whatever closes the
// table (its entries join the table's).
void frmInvestTable::Form_Unload(settings::Transaction &) {
    if (frmChart *chart = loaded<frmChart>())
        chart->close();
}

void frmInvestTable::OKButton_Click() {
    close();
}

} // namespace morvex
