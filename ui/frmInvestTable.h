#pragma once

#include "core/Plan.h"
#include "ui/Form.h"

#include <cstdint>

class QAction;
class QLabel;
class QPushButton;

namespace morvex {

namespace controls {
class Cell;
} // namespace controls

// The progression table: for runs of 0 to 9 defeats, the stake for the next
// race, the cumulative stake, the payout on a win and the profit it leaves,
// under a heading with the start amount, the odds and the up-rate. Modeless;
// pressing the main window's table button again refills it in place.
class frmInvestTable : public Form {
    Q_OBJECT
public:
    static constexpr int Rows = 10;
    static constexpr int Columns = 5;

    // Fills the table for these inputs and shows it, loading the window
    // first when it is not loaded (which restores its position); an open
    // window is refilled in place and activated. A run-time error stops the
    // fill at the failing row and propagates to the caller: an open window
    // keeps the rows written so far, and the figures and headings it did not
    // write again are drawn stale; a window loaded for this call is unloaded
    // again without ever having been shown.
    static void ShowDialog(std::int32_t lStartAmount, float fOdds);

    frmInvestTable();

protected:
    void Form_Unload(settings::Transaction &save) override;

private:
    void FillTable();
    void showTable();
    bool isWhole();
    void OKButton_Click();
    void copyTable();
    void saveTable();
    void showChart();

    // Set by every ShowDialog before FillTable reads them.
    std::int32_t lStartAmount = 0;
    float fOdds = 0.0f;
    // What the cells show, and how the last fill went.
    PlanTable table_;

    // In the order of the window's layout table.
    controls::Cell *lblStartAmount;
    controls::Cell *lblOdds;
    controls::Cell *lblUpRate;
    QLabel *lblHeader[Columns];
    QLabel *lblDefeats[Rows];
    controls::Cell *lblInvest[Rows];
    controls::Cell *lblTotal[Rows];
    controls::Cell *lblRecovery[Rows];
    controls::Cell *lblProfit[Rows];
    QPushButton *OKButton;

    QAction *copyAction;
    QAction *saveAction;
    QAction *chartAction;
};

} // namespace morvex
