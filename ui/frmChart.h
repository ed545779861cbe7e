#pragma once

#include "core/Plan.h"
#include "ui/Form.h"

#include <QFrame>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace morvex {

// The plan as a picture: a bar per run of defeats for the stake, the
// running total as a line over them, on an amount axis, with the plan's
// headings as its title. Bars and points whose running total the money at
// hand does not cover are drawn in a warning colour; a dashed line marks
// the money itself.
class PlanChart : public QFrame {
    Q_OBJECT
public:
    explicit PlanChart(QWidget *parent);

    void setPlan(const Plan &plan, const QString &title);
    void setBankroll(Amount bankroll);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Plan plan_{};
    QString title_;
    Amount bankroll_;
};

// The chart window: the chart of the table's plan, and the money at hand
// that it is measured against, with one sentence on how far that money
// reaches. Modeless; it follows the table when the table is filled again.
class frmChart : public Form {
    Q_OBJECT
public:
    frmChart();

    // Shows the chart of a table that came through whole, loading the window
    // first when it is not loaded; an open window shows the new plan and is
    // activated.
    static void ShowDialog(const PlanTable &table);

    // An open chart shows the plan of this table, where it stands; no chart
    // is opened.
    static void Follow(const PlanTable &table);

protected:
    void Form_Load(const settings::Store &store) override;
    void Form_Unload(settings::Transaction &save) override;

private:
    void setPlan(const PlanTable &table);
    void setBankroll(Amount bankroll);
    void btnDraw_Click();
    void OKButton_Click();
    void copyPicture();

    Plan plan{};
    float odds = 0.0f;
    Amount bankroll;
    QString title;

    // In the order of the window's layout.
    PlanChart *picChart;
    QLabel *Label1;
    QLineEdit *txtBankroll;
    QLabel *Label2;
    QPushButton *btnDraw;
    QLabel *Label3;
    QComboBox *cmbTicket;
    QPushButton *OKButton;
    QLabel *lblReach;
    QLabel *lblRisk;

    QAction *copyAction;
};

} // namespace morvex
