#include "ui/frmChart.h"

#include "core/Risk.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "ui/Controls.h"
#include "ui/MessageBox.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <functional>
#include <mutex>

using namespace Qt::StringLiterals;

namespace morvex {

namespace {

// Assistive technology hears of the chart as a chart, named by its heading
// and described by its series and the money's sentence.
QAccessibleInterface *accessibleChart(const QString &, QObject *object) {
    auto *chart = qobject_cast<PlanChart *>(object);
    return chart ? new QAccessibleWidget(chart, QAccessible::Chart) : nullptr;
}

} // namespace

PlanChart::PlanChart(QWidget *parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setFocusPolicy(Qt::NoFocus);
    static std::once_flag accessible;
    std::call_once(accessible, [] { QAccessible::installFactory(accessibleChart); });
}

void PlanChart::setPlan(const Plan &plan, const QString &title) {
    plan_ = plan;
    title_ = title;
    update();
}

void PlanChart::setBankroll(Amount bankroll) {
    bankroll_ = bankroll;
    update();
}

// Whole pixels for the bars, the axis and the grid, so that they stay sharp
// at any scale factor; only the running-total line and its points are
// smoothed.
void PlanChart::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QPalette &colours = palette();
    const QColor background = colours.color(QPalette::Base);
    const QColor ink = colours.color(QPalette::Text);
    const QColor stakeColour = colours.color(QPalette::Highlight);
    const QColor warning =
        background.lightness() < 128 ? QColor(255, 112, 96) : QColor(204, 32, 32);
    QColor grid = ink;
    grid.setAlpha(56);
    painter.fillRect(contentsRect(), background);
    drawFrame(&painter);

    const int line = fontMetrics().height();
    const QRect area = contentsRect().adjusted(6, 4, -8, -4);
    painter.setPen(ink);
    controls::drawCondensed(painter, {area.left(), area.top(), area.width(), line}, Qt::AlignCenter,
                            title_);

    // The axis holds the plan, and the money at hand unless it is so much
    // more that the plan would shrink to nothing.
    const double last = plan_.back().total.toDouble();
    const double money = bankroll_.toDouble();
    const bool moneyOnAxis = money <= 2 * last;
    const ValueAxis axis = AxisFor(moneyOnAxis ? std::max(last, money) : last);

    // The legend, from the right; the axis's unit on the left.
    const int legendTop = area.top() + line + 2;
    struct Key {
        QString text;
        std::function<void(const QRect &)> mark;
    };
    const Key keys[] = {
        {u"今回投資額"_s,
         [&](const QRect &r) { painter.fillRect(r.adjusted(3, 2, -3, -2), stakeColour); }},
        {u"累計投資額"_s,
         [&](const QRect &r) {
             painter.fillRect(r.left(), r.center().y(), r.width(), 2, ink);
             painter.fillRect(QRect(0, 0, 6, 6).translated(r.center() - QPoint(2, 2)), ink);
         }},
        {u"軍資金不足"_s,
         [&](const QRect &r) { painter.fillRect(r.adjusted(3, 2, -3, -2), warning); }},
        {moneyOnAxis ? u"軍資金"_s : u"軍資金（目盛外）"_s,
         [&](const QRect &r) {
             for (int x = r.left(); x < r.right(); x += 6)
                 painter.fillRect(x, r.center().y(), 4, 2, warning);
         }},
    };
    int right = area.right();
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        const int width = fontMetrics().horizontalAdvance(key->text);
        right -= width;
        painter.setPen(ink);
        painter.drawText(QRect(right, legendTop, width, line), Qt::AlignCenter, key->text);
        right -= 20;
        key->mark(QRect(right, legendTop, 16, line));
        right -= 12;
    }
    painter.drawText(QRect(area.left(), legendTop, right - area.left(), line),
                     Qt::AlignLeft | Qt::AlignVCenter, u"(円)"_s);

    int labelWidth = 0;
    for (int k = 0; k <= axis.steps; ++k)
        labelWidth = std::max(labelWidth, fontMetrics().horizontalAdvance(axis.label(k)));
    const QRect plot(QPoint(area.left() + labelWidth + 6, legendTop + line + line / 2 + 4),
                     QPoint(area.right() - 4, area.bottom() - 2 * line - 2));
    auto yOf = [&](double value) {
        return plot.bottom() - int(std::lround(value / axis.top() * plot.height()));
    };

    for (int k = 0; k <= axis.steps; ++k) {
        const int y = yOf(axis.step * k);
        painter.fillRect(plot.left(), y, plot.width(), 1, k == 0 ? ink : grid);
        painter.setPen(ink);
        controls::drawCondensed(painter, {area.left(), y - line / 2, labelWidth, line},
                                Qt::AlignRight | Qt::AlignVCenter, axis.label(k));
    }

    const double slot = plot.width() / double(PlanRows);
    auto xAt = [&](double fraction) { return plot.left() + int(std::lround(slot * fraction)); };
    QPolygonF totals;
    for (int i = 0; i < PlanRows; ++i) {
        const bool beyond = plan_[i].total > bankroll_;
        const int height = std::max(1, plot.bottom() - yOf(plan_[i].stake.toDouble()));
        painter.fillRect(
            QRect(xAt(i + 0.2), plot.bottom() - height, xAt(i + 0.8) - xAt(i + 0.2), height),
            beyond ? warning : stakeColour);
        painter.setPen(ink);
        painter.drawText(QRect(xAt(i), plot.bottom() + 3, xAt(i + 1) - xAt(i), line),
                         Qt::AlignCenter, QString::number(i));
        totals.append(QPointF(xAt(i + 0.5), yOf(plan_[i].total.toDouble()) + 0.5));
    }
    painter.drawText(QRect(plot.left(), plot.bottom() + 3 + line, plot.width(), line),
                     Qt::AlignCenter, u"連敗数"_s);

    if (moneyOnAxis) {
        const int y = yOf(money);
        for (int x = plot.left(); x < plot.right(); x += 8)
            painter.fillRect(x, y - 1, std::min(5, plot.right() - x), 2, warning);
    }

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, 2));
    painter.drawPolyline(totals);
    painter.setPen(QPen(background, 1));
    for (int i = 0; i < PlanRows; ++i) {
        painter.setBrush(plan_[i].total > bankroll_ ? warning : ink);
        painter.drawEllipse(totals[i], 3.5, 3.5);
    }
}

frmChart::frmChart()
    : Form({u"frmChart"_s, u"投資額グラフ"_s, 7200, 6315, Frame::FixedDialog, settings::ChartWindow,
            settings::OtherWindowDefaultTwips}) {
    using namespace controls;
    picChart = new PlanChart(this);
    picChart->setObjectName(u"picChart"_s);
    picChart->setGeometry(TwipsRect{120, 120, 6960, 4200}.pixels());
    Label1 = label(this, u"Label1"_s, u"軍資金"_s, {120, 4500, 615, 255});
    txtBankroll = place<QLineEdit>(this, u"txtBankroll"_s, {840, 4440, 1815, 300});
    Label2 = label(this, u"Label2"_s, u"円"_s, {2760, 4500, 255, 255});
    btnDraw = button(this, u"btnDraw"_s, u"表示"_s, {3120, 4410, 1095, 375});
    Label3 = label(this, u"Label3"_s, u"券種"_s, {4320, 4500, 435, 255});
    cmbTicket = place<QComboBox>(this, u"cmbTicket"_s, {4800, 4440, 975, 300});
    for (int t = 0; t < TicketTypes; ++t)
        cmbTicket->addItem(TicketName(TicketType(t)));
    OKButton = button(this, u"OKButton"_s, u"OK"_s, {5865, 4410, 1215, 375});
    lblReach = label(this, u"lblReach"_s, QString(), {120, 4920, 6960, 510});
    lblReach->setWordWrap(true);
    lblRisk = label(this, u"lblRisk"_s, QString(), {120, 5430, 6960, 765});
    lblRisk->setWordWrap(true);

    Label1->setBuddy(txtBankroll);
    Label3->setBuddy(cmbTicket);
    setDefaultButton(btnDraw);
    setCancelButton(OKButton);
    tabOrder({txtBankroll, btnDraw, cmbTicket, OKButton});
    txtBankroll->setFocus();

    // The picture goes to the clipboard, from the keyboard or from the
    // chart's context menu.
    copyAction = windowAction(this, u"copyAction"_s, u"グラフをコピー"_s, QKeySequence::Copy);
    picChart->addAction(copyAction);
    picChart->setContextMenuPolicy(Qt::ActionsContextMenu);
    copyFromBoxes(copyAction, {txtBankroll});

    connect(btnDraw, &QPushButton::clicked, this, &frmChart::btnDraw_Click);
    connect(cmbTicket, &QComboBox::currentIndexChanged, this, [this] { setBankroll(bankroll); });
    connect(OKButton, &QPushButton::clicked, this, &frmChart::OKButton_Click);
    connect(copyAction, &QAction::triggered, this, &frmChart::copyPicture);
}

void frmChart::ShowDialog(const PlanTable &table) {
    frmChart *form = load<frmChart>();
    form->setPlan(table);
    form->bringToFront();
}

void frmChart::Follow(const PlanTable &table) {
    if (frmChart *form = loaded<frmChart>())
        form->setPlan(table);
}

void frmChart::setPlan(const PlanTable &table) {
    plan = table.plan();
    odds = table.inputs().odds;
    title = table.title();
    picChart->setPlan(plan, title);
    setBankroll(bankroll);
}

// The sentences and the chart's description always belong to the plan and
// the money drawn (and the risk to the ticket type picked).
void frmChart::setBankroll(Amount money) {
    bankroll = money;
    picChart->setBankroll(bankroll);
    lblReach->setText(ReachSentence(plan, bankroll));
    lblRisk->setText(RiskSentence(plan, bankroll, TicketType(cmbTicket->currentIndex()), odds));
    picChart->setAccessibleName(title);
    picChart->setAccessibleDescription(PlanDescription(plan) + lblReach->text());
}

void frmChart::btnDraw_Click() {
    const BankrollReading reading = ReadBankroll(txtBankroll->text());
    if (!reading.bankroll) {
        MsgBox(reading.problem, Label1->text());
        txtBankroll->setFocus();
        return;
    }
    setBankroll(*reading.bankroll);
}

void frmChart::OKButton_Click() {
    close();
}

void frmChart::copyPicture() {
    QGuiApplication::clipboard()->setImage(picChart->grab().toImage());
}

// A stored amount that is no usable bankroll falls back to the default.
void frmChart::Form_Load(const settings::Store &store) {
    using namespace settings;
    BankrollReading stored = ReadBankroll(store.value(ChartWindow, Bankroll, BankrollDefault));
    if (!stored.bankroll)
        stored = ReadBankroll(BankrollDefault);
    bankroll = *stored.bankroll;
    txtBankroll->setText(QString::number(bankroll.wholeYen()));
    cmbTicket->setCurrentIndex(int(
        TicketNamed(store.value(ChartWindow, Ticket, TicketDefault)).value_or(TicketType::Win)));
}

void frmChart::Form_Unload(settings::Transaction &save) {
    save.setValue(settings::ChartWindow, settings::Bankroll, QString::number(bankroll.wholeYen()));
    save.setValue(settings::ChartWindow, settings::Ticket, cmbTicket->currentText());
}

} // namespace morvex
