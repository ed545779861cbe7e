#pragma once

#include "core/Race.h"
#include "ui/Form.h"

#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTableView;

namespace morvex {

class RaceStore;
class RaceTable;

namespace controls {
class Cell;
} // namespace controls

// The race record: the next race at the odds really on the board, with the
// stake that wins back what the series has lost and the target profit, and
// a row for every race recorded, its result set when it is known. The
// record lives in a database; every change is kept before it shows.
// Modeless; one at a time.
class frmRaceLog : public Form {
    Q_OBJECT
public:
    frmRaceLog();
    ~frmRaceLog() override;

    // Opens the window, or brings it forward. `target` is the target profit
    // the main window's inputs stand for, used until the user has typed one.
    static void ShowDialog(std::optional<Amount> target);

protected:
    void Form_Load(const settings::Store &store) override;
    void Form_Unload(settings::Transaction &save) override;
    bool event(QEvent *event) override;

private:
    // Reads the record again and shows it, with the next race's figures.
    void refresh();
    void showNextRace();
    void btnRecord_Click();
    void setResult(RaceResult result);
    void deleteRace();
    void saveRecord();
    void OKButton_Click();
    void correct(Race race, int column, const QString &text);
    // Tells the outcome of a change to the record; false when it failed.
    bool changed(const QString &failure);
    std::optional<Race> selectedRace() const;

    std::unique_ptr<RaceStore> store;
    QList<Race> races;

    // In the order of the window's layout.
    QLabel *Label1;
    QComboBox *cmbTicket;
    QLabel *Label2;
    QLineEdit *txtOdds;
    QLabel *Label3;
    QLineEdit *txtTarget;
    QLabel *Label4;
    QLineEdit *txtCoefficient;
    QLabel *Label5;
    QLineEdit *txtRaceName;
    QLabel *Label6;
    QLineEdit *txtStake;
    QPushButton *btnRecord;
    QLabel *Label7;
    controls::Cell *lblInvestAmount;
    QLabel *Label9;
    controls::Cell *lblRecovery;
    QLabel *Label10;
    controls::Cell *lblProfit;
    QLabel *lblHitChance;
    QTableView *grdRaces;
    QPushButton *btnHit;
    QPushButton *btnMiss;
    QPushButton *btnDelete;
    QLabel *lblSummary;
    QLabel *lblNotice;
    QPushButton *OKButton;

    RaceTable *table;
    QAction *hitAction;
    QAction *missAction;
    QAction *deleteAction;
    QAction *saveAction;
};

} // namespace morvex
