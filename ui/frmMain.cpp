#include "ui/frmMain.h"

#include "core/CommonModule.h"
#include "core/FaultWatch.h"
#include "core/NumberText.h"
#include "core/RuntimeError.h"
#include "settings/SettingsStore.h"
#include "settings/WindowPosition.h"
#include "ui/Controls.h"
#include "ui/LoadedWindows.h"
#include "ui/MessageBox.h"
#include "ui/frmAbout.h"
#include "ui/frmInvestTable.h"
#include "ui/frmUsage.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

namespace morvex {

using controls::at;

using controls::twipsRect;

namespace {

QPointer<frmMain> loaded;

const QString MainWindowSection = QStringLiteral("MainWindow");
const QString Condition = QStringLiteral("Condition");
const QString StartAmountKey = QStringLiteral("StartAmount");
const QString OddsKey = QStringLiteral("Odds");
const QString DefeatsKey = QStringLiteral("Defeats");
constexpr int DefeatsItems = 20;

} // namespace

frmMain::frmMain()
    : Form(QStringLiteral("frmMain"), QStringLiteral("Morvex"), 6765, 3105, Frame::Sizable) {
    using namespace controls;
    loaded = this;
    const Qt::Alignment resultAlignment = Qt::AlignLeft;

    btnUsage = button(this, u"btnUsage"_qs, u"使い方"_qs, at(0, 0, 1300, 375));
    btnTable = button(this, u"btnTable"_qs, u"投資額表"_qs, at(1300, 0, 1300, 375));
    btnAbout = button(this, u"btnAbout"_qs, u"ﾊﾞｰｼﾞｮﾝ情報"_qs, at(2600, 0, 1300, 375));
    btnExit = button(this, u"btnExit"_qs, u"終了"_qs, at(3900, 0, 1300, 375));
    Line1 = new Line(this, u"Line1"_qs, QPoint(0, 360), QPoint(6780, 360),
                     palette().color(QPalette::WindowText));
    Label1 = label(this, u"Label1"_qs, u"開始金額"_qs, at(240, 720, 855, 375));
    txtStartAmount = place<QLineEdit>(this, u"txtStartAmount"_qs, at(1200, 680, 855, 300));
    txtStartAmount->setText(u"1000"_qs);
    Label8[0] = label(this, u"Label8_0"_qs, u"円"_qs, at(2160, 720, 255, 255));
    Label2 = label(this, u"Label2"_qs, u"倍率(ｵｯｽﾞ)"_qs, at(240, 1320, 855, 255));
    txtOdds = place<QLineEdit>(this, u"txtOdds"_qs, at(1200, 1280, 855, 300));
    txtOdds->setText(u"3.0"_qs);
    Label8[1] = label(this, u"Label8_1"_qs, u"倍"_qs, at(2160, 1320, 255, 255));
    Label3 = label(this, u"Label3"_qs, u"連敗数"_qs, at(240, 1920, 615, 375));
    cmbDefeats = place<QComboBox>(this, u"cmbDefeats"_qs, at(1200, 1880, 855, 300));
    for (int i = 0; i < DefeatsItems; ++i)
        cmbDefeats->addItem(QString::number(i), 0);
    cmbDefeats->setCurrentIndex(-1);
    cmbDefeats->setMaxVisibleItems(DefeatsItems);
    lblRaceNum = label(this, u"lblRaceNum"_qs, u"*ﾚｰｽ目"_qs, at(1200, 2280, 855, 255));
    Label9 = label(this, u"Label9"_qs, u"上昇率"_qs, at(240, 2640, 735, 255));
    lblUpRate = cell(this, u"lblUpRate"_qs, u"1.5"_qs, at(1200, 2600, 855, 300), resultAlignment,
                     u"上昇率"_qs);
    Label8[6] = label(this, u"Label8_6"_qs, u"倍"_qs, at(2160, 2640, 255, 255));
    btnCalcAmount = place<WrappingButton>(this, u"btnCalcAmount"_qs, at(2640, 1200, 1095, 855));
    btnCalcAmount->setText(u"今回投資額算出"_qs);
    Label5 = label(this, u"Label5"_qs, u"今回投資額"_qs, at(4080, 720, 1095, 255));
    lblInvestAmount = cell(this, u"lblInvestAmount"_qs, u"0"_qs, at(5280, 680, 975, 300),
                           resultAlignment, u"今回投資額"_qs);
    Label8[2] = label(this, u"Label8_2"_qs, u"円"_qs, at(6360, 720, 255, 255));
    Label4 = label(this, u"Label4"_qs, u"累計投資額"_qs, at(4080, 1320, 975, 255));
    lblTotalAmount = cell(this, u"lblTotalAmount"_qs, u"0"_qs, at(5280, 1280, 975, 300),
                          resultAlignment, u"累計投資額"_qs);
    Label8[3] = label(this, u"Label8_3"_qs, u"円"_qs, at(6360, 1320, 255, 255));
    Label6 = label(this, u"Label6"_qs, u"的中時回収額"_qs, at(4080, 1920, 1095, 375));
    lblRecovery = cell(this, u"lblRecovery"_qs, u"0"_qs, at(5280, 1880, 975, 300), resultAlignment,
                       u"的中時回収額"_qs);
    Label8[4] = label(this, u"Label8_4"_qs, u"円"_qs, at(6360, 1920, 255, 255));
    Label7 = label(this, u"Label7"_qs, u"的中時利益"_qs, at(4080, 2520, 1095, 255));
    lblProfit = cell(this, u"lblProfit"_qs, u"0"_qs, at(5280, 2480, 975, 300), resultAlignment,
                     u"的中時利益"_qs);
    Label8[5] = label(this, u"Label8_5"_qs, u"円"_qs, at(6360, 2520, 255, 255));

    // Screen readers name each input by its caption.
    Label1->setBuddy(txtStartAmount);
    Label2->setBuddy(txtOdds);
    Label3->setBuddy(cmbDefeats);

    setDefaultButton(btnCalcAmount);
    QWidget::setTabOrder(txtStartAmount, txtOdds);
    QWidget::setTabOrder(txtOdds, cmbDefeats);
    QWidget::setTabOrder(cmbDefeats, btnCalcAmount);
    QWidget::setTabOrder(btnCalcAmount, btnExit);
    QWidget::setTabOrder(btnExit, btnAbout);
    QWidget::setTabOrder(btnAbout, btnUsage);
    QWidget::setTabOrder(btnUsage, btnTable);
    txtStartAmount->setFocus();

    connect(cmbDefeats, &QComboBox::currentIndexChanged, this, &frmMain::cmbDefeats_Click);
    connect(btnCalcAmount, &QPushButton::clicked, this, &frmMain::btnCalcAmount_Click);
    connect(btnUsage, &QPushButton::clicked, this, &frmMain::btnUsage_Click);
    connect(btnTable, &QPushButton::clicked, this, &frmMain::btnTable_Click);
    connect(btnAbout, &QPushButton::clicked, this, &frmMain::btnAbout_Click);
    connect(btnExit, &QPushButton::clicked, this, &frmMain::btnExit_Click);

    Form_Load();
}

frmMain *frmMain::instance() {
    return loaded;
}

void frmMain::cmbDefeats_Click() {
    lblRaceNum->setText(u"["_qs + QString::number(cmbDefeats->currentIndex() + 1) + u"ﾚｰｽ目]"_qs);
}

bool frmMain::CheckInput() {
    auto reject = [](QLineEdit *input, const QString &text, const QString &title) {
        MsgBox(text, title);
        input->setFocus();
        return false;
    };
    const QString start = txtStartAmount->text();
    if (!IsNumeric(start))
        return reject(txtStartAmount, u"数値を入力して下さい。"_qs, u"開始金額"_qs);
    if (Val(start) < 100)
        return reject(txtStartAmount, u"１００円以上を設定して下さい。"_qs, u"開始金額"_qs);
    const QString odds = txtOdds->text();
    if (!IsNumeric(odds))
        return reject(txtOdds, u"数値を入力して下さい。"_qs, u"倍率"_qs);
    if (Val(odds) <= 1)
        return reject(txtOdds, u"1.0倍より大きい値を設定して下さい。"_qs, u"倍率"_qs);
    return true;
}

// Each field is written as soon as its figure is known: an error in a later
// step leaves the earlier fields updated and the later ones as they were.
void frmMain::btnCalcAmount_Click() {
    try {
        if (!CheckInput())
            return;
        const std::int32_t start = ToInt32(Val(txtStartAmount->text()));
        const float odds = ToSingle(Val(txtOdds->text()));
        const auto defeats = std::int16_t(cmbDefeats->currentIndex());

        const float upRate = CalcUpRate(odds);
        const Amount total = CalcTotalAmount(start, upRate, defeats);
        if (total == Amount())
            return; // no defeats item picked yet
        lblTotalAmount->setText(FormatAmount(total));

        const Amount stake = CalcInvestAmount(start, upRate, defeats);
        lblInvestAmount->setText(FormatAmount(stake));

        FaultWatch fp;
        const double payoutValue = fp.mul(stake.toDouble(), double(odds));
        fp.check();
        const Amount payout = ToAmount(payoutValue);
        lblRecovery->setText(FormatAmount(payout));
        lblProfit->setText(FormatAmount(payout - total));

        lblUpRate->setText(SingleText(upRate));
    } catch (const RuntimeError &error) {
        ShowRuntimeError(error);
    }
}

// One usage window at a time: a second press brings the open one forward.
void frmMain::btnUsage_Click() {
    if (frmUsage *usage = frmUsage::instance()) {
        usage->setWindowState(usage->windowState() & ~Qt::WindowMinimized);
        usage->show();
        usage->raise();
        usage->activateWindow();
        return;
    }
    (new frmUsage)->show();
}

// A failure on the way to the table is reported the way the calculation
// command reports one, and the program carries on.
void frmMain::btnTable_Click() {
    try {
        if (!CheckInput())
            return;
        const double start = Val(txtStartAmount->text());
        const double odds = Val(txtOdds->text());
        const float fOdds = ToSingle(odds); // beyond the single range: infinite
        const std::int32_t lStartAmount = ToInt32(start);
        frmInvestTable::ShowDialog(lStartAmount, fOdds);
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

void frmMain::Form_Load() {
    const QString app = settings::applicationName();
    restorePosition(this, MainWindowSection, 1200);
    txtStartAmount->setText(settings::readSetting(app, Condition, StartAmountKey, u"1000"_qs));
    txtOdds->setText(settings::readSetting(app, Condition, OddsKey, u"3"_qs));

    // A stored index that is no number or names no item falls back to 0.
    int defeats = 0;
    try {
        defeats = ToInt16(ToNumber(settings::readSetting(app, Condition, DefeatsKey, u"0"_qs)));
    } catch (const RuntimeError &) {
    }
    if (defeats < 0 || defeats >= DefeatsItems)
        defeats = 0;
    cmbDefeats->setCurrentIndex(defeats); // runs cmbDefeats_Click
}

void frmMain::Form_Unload() {
    loaded = nullptr; // unloaded, though Qt deletes the window a little later
    const QString app = settings::applicationName();
    {
        settings::WriteGroup group(app);
        savePosition(this, MainWindowSection);
        settings::writeSetting(app, Condition, StartAmountKey, txtStartAmount->text());
        settings::writeSetting(app, Condition, OddsKey, txtOdds->text());
        settings::writeSetting(app, Condition, DefeatsKey,
                               QString::number(cmbDefeats->currentIndex()));
    }

    // Close the first other window in load order, and only that one.
    const QList<Form *> windows = LoadedWindows::forms();
    for (Form *window : windows) {
        if (window->formName() != u"frmMain"_qs) {
            window->close();
            break;
        }
    }
}

} // namespace morvex
