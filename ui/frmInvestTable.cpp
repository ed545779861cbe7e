#include "ui/frmInvestTable.h"

#include "core/CommonModule.h"
#include "core/Export.h"
#include "core/NumberText.h"
#include "core/Plan.h"
#include "core/RuntimeError.h"
#include "settings/Keys.h"
#include "ui/Controls.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/frmChart.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <algorithm>

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
    const QString headers[Columns] = {u"連敗数"_s, u"今回投資額"_s, u"累計投資額"_s,
                                      u"的中回収額"_s, u"的中時利益"_s};

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
    // spreadsheet, from the keyboard or from the window's context menu.
    copyAction = new QAction(u"表をコピー"_s, this);
    copyAction->setObjectName(u"copyAction"_s);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WindowShortcut);
    addAction(copyAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    // For a spreadsheet, a file of the table; and the plan as a picture.
    saveAction = new QAction(u"CSVで保存..."_s, this);
    saveAction->setObjectName(u"saveAction"_s);
    saveAction->setShortcut(QKeySequence::Save);
    saveAction->setShortcutContext(Qt::WindowShortcut);
    addAction(saveAction);
    chartAction = new QAction(u"グラフ"_s, this);
    chartAction->setObjectName(u"chartAction"_s);
    addAction(chartAction);

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
    frmChart::Follow(lStartAmount, fOdds);
    form->bringToFront();
}

// The payout and the profit are worked out from the texts already shown, so
// that the profit is always the difference of the two whole numbers in its
// row, exactly, however large they are. Cells are written one by one: an
// error leaves the rows before the failing one with their new figures and
// the rest as they were, drawn stale, so that what looks like a result of
// these inputs is one.
void frmInvestTable::FillTable() {
    using controls::Cell;
    for (Cell *heading : {lblStartAmount, lblOdds, lblUpRate})
        heading->setStale(true);
    for (int i = 0; i < Rows; ++i)
        for (Cell *figure : {lblInvest[i], lblTotal[i], lblRecovery[i], lblProfit[i]})
            figure->setStale(true);
    auto write = [](Cell *cell, const QString &text) {
        cell->setText(text);
        cell->setStale(false);
    };
    const float up = CalcUpRate(fOdds);
    for (std::int16_t i = 0; i < Rows; ++i) {
        write(lblInvest[i], FormatAmount(CalcInvestAmount(lStartAmount, up, i)));
        write(lblTotal[i], FormatAmount(CalcTotalAmount(lStartAmount, up, i)));
        write(lblRecovery[i], FormatAmount(CalcPayout(ToNumber(lblInvest[i]->text()), fOdds)));
        write(lblProfit[i], AmountDifference(lblRecovery[i]->text(), lblTotal[i]->text()));
    }
    const QStringList headings = PlanHeadings(lStartAmount, fOdds, up);
    write(lblStartAmount, headings[0]);
    write(lblOdds, headings[1]);
    write(lblUpRate, headings[2]);
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

// The texts as shown; the figures without their group separators, so that
// a spreadsheet in any locale reads them as numbers and no cell needs quotes.
QList<QStringList> frmInvestTable::csvRecords() const {
    QList<QStringList> records{{lblStartAmount->text(), lblOdds->text(), lblUpRate->text()}, {}};
    for (const QLabel *header : lblHeader)
        records[1].append(header->text());
    for (int i = 0; i < Rows; ++i) {
        QStringList &row = records.emplace_back();
        for (const QLabel *cell : std::initializer_list<const QLabel *>{
                 lblDefeats[i], lblInvest[i], lblTotal[i], lblRecovery[i], lblProfit[i]})
            row.append(PlainWholeNumber(cell->text()));
    }
    return records;
}

// The file's contents are taken before the dialog opens; nothing of the
// window is touched once it has closed. A table that a failed fill left
// part old, part new (its headings, written last, still stale) belongs to
// no inputs and is not saved: the fill is tried again and its failure told
// as before.
void frmInvestTable::saveTable() {
    if (lblStartAmount->isStale()) {
        try {
            FillTable();
        } catch (const RuntimeError &error) {
            ShowRuntimeError(error);
            return;
        }
    }
    const QByteArray contents = CsvDocument(csvRecords());
    const QString suggested =
        DocumentsFolder() + u"/投資額表_%1円_%2倍.csv"_s.arg(lStartAmount).arg(SingleText(fOdds));
    const QString path = GetSaveFileName(this, u"CSVで保存"_s, suggested,
                                         u"CSV ファイル (*.csv);;すべてのファイル (*)"_s);
    if (path.isEmpty())
        return;
    const QString reason = WriteWholeFile(path, contents);
    if (!reason.isEmpty())
        MsgBox(u"%1 に保存できませんでした。\r\n%2"_s.arg(QDir::toNativeSeparators(path), reason));
}

// A failure is reported the way the calculation command reports one.
void frmInvestTable::showChart() {
    try {
        frmChart::ShowDialog(lStartAmount, fOdds);
    } catch (const RuntimeError &error) {
        ShowRuntimeError(error);
    }
}

void frmInvestTable::copyTable() {
    QGuiApplication::clipboard()->setText(tableText());
}

void frmInvestTable::OKButton_Click() {
    close();
}

} // namespace morvex
