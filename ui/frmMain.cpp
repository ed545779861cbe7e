#include "ui/frmMain.h"

#include "core/Conversions.h"
#include "core/NumberText.h"
#include "core/Plan.h"
#include "core/Race.h"
#include "core/RuntimeError.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "ui/Controls.h"
#include "ui/MessageBox.h"
#include "ui/frmAbout.h"
#include "ui/frmInvestTable.h"
#include "ui/frmRaceLog.h"
#include "ui/frmUsage.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

constexpr int DefeatsItems = 20;

// The captions of the inputs and of the figures, which the copy repeats.
const QString StartCaption = u"開始金額"_s, OddsCaption = u"倍率(ｵｯｽﾞ)"_s,
              DefeatsCaption = u"連敗数"_s, UpRateCaption = u"上昇率"_s,
              StakeCaption = u"今回投資額"_s, TotalCaption = u"累計投資額"_s,
              PayoutCaption = u"的中時回収額"_s, ProfitCaption = u"的中時利益"_s;

} // namespace

frmMain::frmMain()
    : Form({u"frmMain"_s, u"Morvex"_s, 6765, 3105, Frame::Sizable, settings::MainWindow,
            settings::MainWindowDefaultTwips}) {
    using namespace controls;
    const Qt::Alignment resultAlignment = Qt::AlignLeft;

    btnUsage = button(this, u"btnUsage"_s, u"使い方"_s, {0, 0, 1300, 375});
    btnTable = button(this, u"btnTable"_s, u"投資額表"_s, {1300, 0, 1300, 375});
    btnAbout = button(this, u"btnAbout"_s, u"ﾊﾞｰｼﾞｮﾝ情報"_s, {2600, 0, 1300, 375});
    btnExit = button(this, u"btnExit"_s, u"終了"_s, {3900, 0, 1300, 375});
    Line1 =
        new Line(this, u"Line1"_s, {0, 360}, {6780, 360}, palette().color(QPalette::WindowText));
    Label1 = label(this, u"Label1"_s, StartCaption, {240, 720, 855, 375});
    txtStartAmount = place<QLineEdit>(this, u"txtStartAmount"_s, {1200, 680, 855, 300});
    txtStartAmount->setText(u"1000"_s);
    Label8[0] = label(this, u"Label8_0"_s, u"円"_s, {2160, 720, 255, 255});
    Label2 = label(this, u"Label2"_s, OddsCaption, {240, 1320, 855, 255});
    txtOdds = place<QLineEdit>(this, u"txtOdds"_s, {1200, 1280, 855, 300});
    txtOdds->setText(u"3.0"_s);
    Label8[1] = label(this, u"Label8_1"_s, u"倍"_s, {2160, 1320, 255, 255});
    Label3 = label(this, u"Label3"_s, DefeatsCaption, {240, 1920, 615, 375});
    cmbDefeats = place<QComboBox>(this, u"cmbDefeats"_s, {1200, 1880, 855, 300});
    for (int i = 0; i < DefeatsItems; ++i)
        cmbDefeats->addItem(QString::number(i), 0);
    cmbDefeats->setCurrentIndex(-1);
    cmbDefeats->setMaxVisibleItems(DefeatsItems);
    lblRaceNum = label(this, u"lblRaceNum"_s, u"*ﾚｰｽ目"_s, {1200, 2280, 855, 255});
    Label9 = label(this, u"Label9"_s, UpRateCaption, {240, 2640, 735, 255});
    lblUpRate = cell(this, u"lblUpRate"_s, shown_.upRate, {1200, 2600, 855, 300}, resultAlignment,
                     UpRateCaption);
    Label8[6] = label(this, u"Label8_6"_s, u"倍"_s, {2160, 2640, 255, 255});
    btnCalcAmount = place<WrappingButton>(this, u"btnCalcAmount"_s, {2640, 1200, 1095, 855});
    btnCalcAmount->setText(u"今回投資額算出"_s);
    Label5 = label(this, u"Label5"_s, StakeCaption, {4080, 720, 1095, 255});
    lblInvestAmount = cell(this, u"lblInvestAmount"_s, shown_.stake, {5280, 680, 975, 300},
                           resultAlignment, StakeCaption);
    Label8[2] = label(this, u"Label8_2"_s, u"円"_s, {6360, 720, 255, 255});
    Label4 = label(this, u"Label4"_s, TotalCaption, {4080, 1320, 975, 255});
    lblTotalAmount = cell(this, u"lblTotalAmount"_s, shown_.total, {5280, 1280, 975, 300},
                          resultAlignment, TotalCaption);
    Label8[3] = label(this, u"Label8_3"_s, u"円"_s, {6360, 1320, 255, 255});
    Label6 = label(this, u"Label6"_s, PayoutCaption, {4080, 1920, 1095, 375});
    lblRecovery = cell(this, u"lblRecovery"_s, shown_.payout, {5280, 1880, 975, 300},
                       resultAlignment, PayoutCaption);
    Label8[4] = label(this, u"Label8_4"_s, u"円"_s, {6360, 1920, 255, 255});
    Label7 = label(this, u"Label7"_s, ProfitCaption, {4080, 2520, 1095, 255});
    lblProfit = cell(this, u"lblProfit"_s, shown_.profit, {5280, 2480, 975, 300}, resultAlignment,
                     ProfitCaption);
    Label8[5] = label(this, u"Label8_5"_s, u"円"_s, {6360, 2520, 255, 255});

    // Screen readers name each input by its caption.
    Label1->setBuddy(txtStartAmount);
    Label2->setBuddy(txtOdds);
    Label3->setBuddy(cmbDefeats);

    setDefaultButton(btnCalcAmount);
    tabOrder({txtStartAmount, txtOdds, cmbDefeats, btnCalcAmount, btnExit, btnAbout, btnUsage,
              btnTable});
    txtStartAmount->setFocus();

    connect(cmbDefeats, &QComboBox::currentIndexChanged, this, &frmMain::cmbDefeats_Click);
    connect(btnCalcAmount, &QPushButton::clicked, this, &frmMain::btnCalcAmount_Click);
    connect(btnUsage, &QPushButton::clicked, this, &frmMain::btnUsage_Click);
    connect(btnTable, &QPushButton::clicked, this, &frmMain::btnTable_Click);
    connect(btnAbout, &QPushButton::clicked, this, &frmMain::btnAbout_Click);
    connect(btnExit, &QPushButton::clicked, this, &frmMain::btnExit_Click);

    // A figure that no longer belongs to the inputs must not pass for one.
    connect(txtStartAmount, &QLineEdit::textChanged, this, [this] { setResultsStale(true); });
    connect(txtOdds, &QLineEdit::textChanged, this, [this] { setResultsStale(true); });
    connect(cmbDefeats, &QComboBox::currentIndexChanged, this, [this] { setResultsStale(true); });

    // For keeping records: the inputs and results go to the clipboard, from
    // the keyboard (a text box keeps Ctrl+C while it has a selection) or
    // from a result field's context menu.
    copyAction = windowAction(this, u"copyAction"_s, u"結果をコピー"_s, QKeySequence::Copy);
    copyFromBoxes(copyAction, {txtStartAmount, txtOdds});
    connect(copyAction, &QAction::triggered, this, &frmMain::copyResults);

    // The day's races, each at its own odds: from the keyboard or a right
    // click anywhere on the window.
    raceLogAction = windowAction(this, u"raceLogAction"_s, u"レース記録..."_s,
                                 QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(raceLogAction, &QAction::triggered, this, &frmMain::showRaceLog);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    for (QLabel *field : {lblInvestAmount, lblTotalAmount, lblRecovery, lblProfit, lblUpRate}) {
        field->addActions({copyAction, raceLogAction});
        field->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
}

void frmMain::setResultsStale(bool stale) {
    for (controls::Cell *field :
         {lblInvestAmount, lblTotalAmount, lblRecovery, lblProfit, lblUpRate})
        field->setStale(stale);
}

QString frmMain::resultsText() const {
    QString text;
    auto line = [&](const QString &caption, const QString &value) {
        text += caption + u'\t' + value + u'\n';
    };
    line(StartCaption, txtStartAmount->text());
    line(OddsCaption, txtOdds->text());
    line(DefeatsCaption, cmbDefeats->currentText());
    line(StakeCaption, shown_.stake);
    line(TotalCaption, shown_.total);
    line(PayoutCaption, shown_.payout);
    line(ProfitCaption, shown_.profit);
    line(UpRateCaption, shown_.upRate);
    return text;
}

void frmMain::copyResults() {
    QGuiApplication::clipboard()->setText(resultsText());
}

void frmMain::cmbDefeats_Click() {
    lblRaceNum->setText(u"["_s + QString::number(cmbDefeats->currentIndex() + 1) + u"ﾚｰｽ目]"_s);
}

std::optional<PlanInputs> frmMain::CheckInput() {
    const InputReading reading = ReadInputs(txtStartAmount->text(), txtOdds->text());
    if (const std::optional<InputProblem> &problem = reading.problem) {
        MsgBox(problem->message, problem->title);
        (problem->field == InputProblem::Field::StartAmount ? txtStartAmount : txtOdds)->setFocus();
    }
    return reading.inputs;
}

// Each field is written as soon as its figure is known: an error in a later
// step leaves the earlier fields updated and the later ones as they were.
// The figures are current again only when all five are.
void frmMain::btnCalcAmount_Click() {
    try {
        const std::optional<PlanInputs> inputs = CheckInput();
        if (!inputs)
            return;
        const RaceFigures figures = CalcRace(*inputs, std::int16_t(cmbDefeats->currentIndex()));
        auto write = [](controls::Cell *field, QString &shown, const auto &figure) {
            if (figure)
                field->setText(shown = figure->text);
        };
        write(lblTotalAmount, shown_.total, figures.total);
        write(lblInvestAmount, shown_.stake, figures.stake);
        write(lblRecovery, shown_.payout, figures.payout);
        write(lblProfit, shown_.profit, figures.profit);
        write(lblUpRate, shown_.upRate, figures.upRate);
        if (figures.failure)
            ShowRuntimeError(*figures.failure);
        else if (figures.upRate)
            setResultsStale(false);
    } catch (const RuntimeError &error) {
        ShowRuntimeError(error);
    }
}

// The record's target profit starts as the inputs stand for (start amount ×
// (odds − 1)), when they can be read.
void frmMain::showRaceLog() {
    std::optional<Amount> target;
    try {
        if (const std::optional<PlanInputs> inputs =
                ReadInputs(txtStartAmount->text(), txtOdds->text()).inputs)
            target = DefaultTarget(inputs->startAmount, inputs->odds);
    } catch (const RuntimeError &) {
    }
    frmRaceLog::ShowDialog(target);
}

// One usage window at a time: a second press brings the open one forward.
void frmMain::btnUsage_Click() {
    load<frmUsage>()->bringToFront();
}

// A failure on the way to the table is reported the way the calculation
// command reports one, and the program carries on.
void frmMain::btnTable_Click() {
    try {
        if (const std::optional<PlanInputs> inputs = CheckInput())
            frmInvestTable::ShowDialog(inputs->startAmount, inputs->odds);
    } catch (const RuntimeError &error) {
        ShowRuntimeError(error);
    }
}

// Returns once the version window has closed. The main window may have been
// closed meanwhile, so nothing here touches it afterwards.
void frmMain::btnAbout_Click() {
    frmAbout::showModal();
}

void frmMain::btnExit_Click() {
    close();
}

void frmMain::Form_Load(const settings::Store &store) {
    using namespace settings;
    txtStartAmount->setText(store.value(Condition, StartAmount, StartAmountDefault));
    txtOdds->setText(store.value(Condition, Odds, OddsDefault));

    // A stored index that is no number or names no item falls back to 0.
    int defeats = 0;
    try {
        defeats = ToInt16(ToNumber(store.value(Condition, Defeats, DefeatsDefault)));
    } catch (const RuntimeError &) {
    }
    if (defeats < 0 || defeats >= DefeatsItems)
        defeats = 0;
    // Runs cmbDefeats_Click, and marks the figures stale: the design texts
    // are no results of these inputs.
    cmbDefeats->setCurrentIndex(defeats);
}

void frmMain::Form_Unload(settings::Transaction &save) {
    using namespace settings;
    save.setValue(Condition, StartAmount, txtStartAmount->text());
    save.setValue(Condition, Odds, txtOdds->text());
    save.setValue(Condition, Defeats, QString::number(cmbDefeats->currentIndex()));

    // Close the first other window in load order, and only that one. Its
    // entries join this unload's.
    const QList<Form *> windows = LoadedWindows::forms();
    for (Form *window : windows) {
        if (window->formName() != u"frmMain"_s) {
            window->close();
            break;
        }
    }
}

} // namespace morvex
