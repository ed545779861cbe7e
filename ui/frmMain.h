#pragma once

#include "core/Plan.h"
#include "ui/Form.h"

#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace morvex {

namespace controls {
class Cell;
class Line;
class WrappingButton;
} // namespace controls

// The main window: the three inputs of the calculation, the five result
// fields, and the buttons that open the other windows or end the program.
class frmMain : public Form {
    Q_OBJECT
public:
    frmMain();

    // The start amount and the odds read from their boxes, once, for a
    // calculation or the table; on a text they do not accept, tells the user
    // what is wrong, moves the focus to that box and gives nothing. Raises
    // what converting the values raises (a start amount beyond 32 bits).
    std::optional<PlanInputs> CheckInput();

    // The inputs and the five results as tab-separated lines of caption and
    // value, as shown ("開始金額\t1000\n" … "上昇率\t1.5\n").
    QString resultsText() const;

protected:
    void Form_Load(const settings::Store &store) override;
    void Form_Unload(settings::Transaction &save) override;

private:
    void cmbDefeats_Click();
    void btnCalcAmount_Click();
    void btnUsage_Click();
    void btnTable_Click();
    void btnAbout_Click();
    void btnExit_Click();
    // Results that no longer belong to the inputs are drawn in the disabled
    // colour until the next calculation succeeds.
    void setResultsStale(bool stale);
    void copyResults();
    void showRaceLog();

    // In the order of the window's layout table.
    QPushButton *btnUsage;
    QPushButton *btnTable;
    QPushButton *btnAbout;
    QPushButton *btnExit;
    controls::Line *Line1;
    QLabel *Label1;
    QLineEdit *txtStartAmount;
    QLabel *Label8[7];
    QLabel *Label2;
    QLineEdit *txtOdds;
    QLabel *Label3;
    QComboBox *cmbDefeats;
    QLabel *lblRaceNum;
    QLabel *Label9;
    controls::Cell *lblUpRate;
    controls::WrappingButton *btnCalcAmount;
    QLabel *Label5;
    controls::Cell *lblInvestAmount;
    QLabel *Label4;
    controls::Cell *lblTotalAmount;
    QLabel *Label6;
    controls::Cell *lblRecovery;
    QLabel *Label7;
    controls::Cell *lblProfit;

    QAction *copyAction;
    QAction *raceLogAction;

    // What the five result fields show, for the copy: their design texts
    // until a calculation writes them.
    struct {
        QString stake = QStringLiteral("0"), total = QStringLiteral("0"),
                payout = QStringLiteral("0"), profit = QStringLiteral("0"),
                upRate = QStringLiteral("1.5");
    } shown_;
};

} // namespace morvex
