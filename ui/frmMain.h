#pragma once

#include "ui/Form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace morvex {

namespace controls {
class Line;
class WrappingButton;
} // namespace controls

// The main window: the three inputs of the calculation, the five result
// fields, and the buttons that open the other windows or end the program.
class frmMain : public Form {
    Q_OBJECT
public:
    // Loads the main window (restoring its position and the last inputs).
    frmMain();

    // The loaded main window, or nullptr.
    static frmMain *instance();

    // True when both text inputs can be calculated with; otherwise tells the
    // user what is wrong, moves the focus to that input and returns false.
    bool CheckInput();

protected:
    void Form_Unload() override;

private:
    void Form_Load();
    void cmbDefeats_Click();
    void btnCalcAmount_Click();
    void btnUsage_Click();
    void btnTable_Click();
    void btnAbout_Click();
    void btnExit_Click();

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
    QLabel *lblUpRate;
    controls::WrappingButton *btnCalcAmount;
    QLabel *Label5;
    QLabel *lblInvestAmount;
    QLabel *Label4;
    QLabel *lblTotalAmount;
    QLabel *Label6;
    QLabel *lblRecovery;
    QLabel *Label7;
    QLabel *lblProfit;
};

} // namespace morvex
