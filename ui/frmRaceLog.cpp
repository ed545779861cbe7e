#include "ui/frmRaceLog.h"

#include "core/Messages.h"
#include "core/NumberText.h"
#include "core/RaceLog.h"
#include "core/RaceStore.h"
#include "core/Risk.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "ui/Controls.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace morvex {

// The record's rows for the table view, as the core shows them. Every cell
// but 収支 and 損失累計 can be corrected (払戻額 only for a race that hit); a
// correction goes to the window, which keeps it or says what is wrong.
class RaceTable : public QAbstractTableModel {
public:
    using Correct = std::function<void(const Race &, int column, const QString &)>;
    RaceTable(QObject *parent, Correct correct)
        : QAbstractTableModel(parent), correct_(std::move(correct)) {}

    void setRows(QList<RaceRow> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() ? 0 : int(rows_.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() ? 0 : RaceColumns;
    }

    QVariant data(const QModelIndex &index, int role) const override {
        const QString &text = rows_[index.row()].texts[index.column()];
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return text;
        case Qt::TextAlignmentRole:
            return index.column() >= OddsColumn && index.column() != ResultColumn
                       ? int(Qt::AlignRight | Qt::AlignVCenter)
                       : int(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        return orientation == Qt::Horizontal ? QVariant(RaceColumnNames().value(section))
                                             : QVariant(section + 1);
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override {
        const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
        const bool hit = rows_[index.row()].race.result == RaceResult::Hit;
        const bool editable =
            index.column() < PayoutColumn || (index.column() == PayoutColumn && hit);
        return editable ? flags | Qt::ItemIsEditable : flags;
    }

    // The correction is taken up once the editor has gone: keeping it reads
    // the record again, which resets the rows under the editor.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override {
        if (role != Qt::EditRole)
            return false;
        QTimer::singleShot(0, this,
                           [this, race = race(index.row()), column = index.column(),
                            text = value.toString()] { correct_(race, column, text); });
        return true;
    }

    const Race &race(int row) const { return rows_[row].race; }

private:
    QList<RaceRow> rows_;
    Correct correct_;
};

namespace {

// The ticket types and results are picked from a list in the table.
class ChoiceDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override {
        QStringList choices;
        if (index.column() == TicketColumn)
            for (int t = 0; t < TicketTypes; ++t)
                choices.append(TicketName(TicketType(t)));
        else if (index.column() == ResultColumn)
            for (RaceResult result : {RaceResult::Pending, RaceResult::Hit, RaceResult::Miss})
                choices.append(ResultName(result));
        else
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto *list = new QComboBox(parent);
        list->addItems(choices);
        return list;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override {
        if (auto *list = qobject_cast<QComboBox *>(editor))
            list->setCurrentText(index.data().toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override {
        if (auto *list = qobject_cast<QComboBox *>(editor))
            model->setData(index, list->currentText());
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }
};

// A reading of a field: its value, or its message told under its caption
// and the focus back in the field.
template <typename T> std::optional<T> accepted(const Reading<T> &reading, QWidget *field) {
    if (!reading.value) {
        MsgBox(reading.problem, reading.caption);
        if (field)
            field->setFocus();
    }
    return reading.value;
}

} // namespace

frmRaceLog::frmRaceLog()
    : Form({u"frmRaceLog"_s, u"レース記録"_s, 9600, 7260, Frame::FixedDialog,
            settings::RaceLogWindow, settings::OtherWindowDefaultTwips}) {
    using namespace controls;
    Label1 = label(this, u"Label1"_s, u"券種"_s, {120, 180, 495, 255});
    cmbTicket = place<QComboBox>(this, u"cmbTicket"_s, {660, 120, 1095, 300});
    for (int t = 0; t < TicketTypes; ++t)
        cmbTicket->addItem(TicketName(TicketType(t)));
    Label2 = label(this, u"Label2"_s, u"倍率"_s, {1920, 180, 495, 255});
    txtOdds = place<QLineEdit>(this, u"txtOdds"_s, {2400, 120, 735, 300});
    Label3 = label(this, u"Label3"_s, u"目標利益"_s, {3360, 180, 855, 255});
    txtTarget = place<QLineEdit>(this, u"txtTarget"_s, {4260, 120, 1095, 300});
    Label4 = label(this, u"Label4"_s, u"係数"_s, {5580, 180, 495, 255});
    txtCoefficient = place<QLineEdit>(this, u"txtCoefficient"_s, {6120, 120, 615, 300});
    Label5 = label(this, u"Label5"_s, u"レース"_s, {120, 660, 540, 255});
    txtRaceName = place<QLineEdit>(this, u"txtRaceName"_s, {660, 600, 2475, 300});
    Label6 = label(this, u"Label6"_s, u"投資額"_s, {3360, 660, 855, 255});
    txtStake = place<QLineEdit>(this, u"txtStake"_s, {4260, 600, 1095, 300});
    btnRecord = button(this, u"btnRecord"_s, u"記録"_s, {5580, 555, 1155, 375});
    Label7 = label(this, u"Label7"_s, u"今回投資額"_s, {120, 1140, 975, 255});
    lblInvestAmount = cell(this, u"lblInvestAmount"_s, QString(), {1140, 1080, 1335, 300},
                           Qt::AlignRight, u"今回投資額"_s);
    Label9 = label(this, u"Label9"_s, u"的中時回収額"_s, {2640, 1140, 1095, 255});
    lblRecovery = cell(this, u"lblRecovery"_s, QString(), {3780, 1080, 1335, 300}, Qt::AlignRight,
                       u"的中時回収額"_s);
    Label10 = label(this, u"Label10"_s, u"的中時利益"_s, {5280, 1140, 975, 255});
    lblProfit = cell(this, u"lblProfit"_s, QString(), {6300, 1080, 1335, 300}, Qt::AlignRight,
                     u"的中時利益"_s);
    lblHitChance = label(this, u"lblHitChance"_s, QString(), {120, 1500, 9360, 510});
    lblHitChance->setWordWrap(true);

    grdRaces = place<QTableView>(this, u"grdRaces"_s, {120, 2040, 9360, 3120});
    table = new RaceTable(this, [this](const Race &race, int column, const QString &text) {
        correct(race, column, text);
    });
    grdRaces->setModel(table);
    grdRaces->setItemDelegate(new ChoiceDelegate(grdRaces));
    grdRaces->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdRaces->setSelectionMode(QAbstractItemView::SingleSelection);
    grdRaces->verticalHeader()->setDefaultSectionSize(grdRaces->fontMetrics().height() + 6);
    grdRaces->horizontalHeader()->setStretchLastSection(true);

    btnHit = button(this, u"btnHit"_s, u"的中"_s, {120, 5280, 1095, 375});
    btnMiss = button(this, u"btnMiss"_s, u"不的中"_s, {1320, 5280, 1095, 375});
    btnDelete = button(this, u"btnDelete"_s, u"削除"_s, {2520, 5280, 1095, 375});
    lblSummary = label(this, u"lblSummary"_s, QString(), {120, 5760, 9360, 510});
    lblSummary->setWordWrap(true);
    lblNotice = label(this, u"lblNotice"_s, RaceLogNotice, {120, 6360, 7980, 765});
    lblNotice->setWordWrap(true);
    OKButton = button(this, u"OKButton"_s, u"OK"_s, {8265, 6720, 1215, 375});

    for (auto [caption, field] : {std::pair<QLabel *, QWidget *>{Label1, cmbTicket},
                                  {Label2, txtOdds},
                                  {Label3, txtTarget},
                                  {Label4, txtCoefficient},
                                  {Label5, txtRaceName},
                                  {Label6, txtStake}})
        caption->setBuddy(field);
    setDefaultButton(btnRecord);
    tabOrder({cmbTicket, txtOdds, txtTarget, txtCoefficient, txtRaceName, txtStake, btnRecord,
              grdRaces});
    txtOdds->setFocus();

    // The selected race's result, its removal and the record as a file, from
    // the buttons, the table's context menu or the keyboard.
    hitAction = windowAction(this, u"hitAction"_s, u"的中"_s);
    missAction = windowAction(this, u"missAction"_s, u"不的中"_s);
    deleteAction = windowAction(this, u"deleteAction"_s, u"削除..."_s);
    saveAction = windowAction(this, u"saveAction"_s, u"CSVで保存..."_s, QKeySequence::Save);
    grdRaces->addActions(actions());
    grdRaces->setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(hitAction, &QAction::triggered, this, [this] { setResult(RaceResult::Hit); });
    connect(missAction, &QAction::triggered, this, [this] { setResult(RaceResult::Miss); });
    connect(deleteAction, &QAction::triggered, this, &frmRaceLog::deleteRace);
    connect(saveAction, &QAction::triggered, this, &frmRaceLog::saveRecord);
    connect(btnHit, &QPushButton::clicked, hitAction, &QAction::trigger);
    connect(btnMiss, &QPushButton::clicked, missAction, &QAction::trigger);
    connect(btnDelete, &QPushButton::clicked, deleteAction, &QAction::trigger);
    connect(btnRecord, &QPushButton::clicked, this, &frmRaceLog::btnRecord_Click);
    connect(OKButton, &QPushButton::clicked, this, &frmRaceLog::OKButton_Click);
    for (QLineEdit *input : {txtOdds, txtTarget, txtCoefficient})
        connect(input, &QLineEdit::textChanged, this, &frmRaceLog::showNextRace);
    connect(cmbTicket, &QComboBox::currentIndexChanged, this, &frmRaceLog::showNextRace);
}

frmRaceLog::~frmRaceLog() = default;

// What opening the record found (a damaged file set aside, a record that
// can only be shown) is told once, when the window opens.
void frmRaceLog::ShowDialog(std::optional<Amount> target) {
    const bool opening = !loaded<frmRaceLog>();
    frmRaceLog *form = load<frmRaceLog>();
    if (opening && form->txtTarget->text().isEmpty() && target)
        form->txtTarget->setText(QString::number(WholeYen(*target)));
    form->bringToFront();
    if (opening && !form->store->notice().isEmpty())
        MsgBox(form->store->notice(), form->windowTitle());
}

// The target profit and the coefficient come back as last typed (the
// target, until one is typed, as the main window's inputs stand for). The
// record is opened here.
void frmRaceLog::Form_Load(const settings::Store &saved) {
    using namespace settings;
    txtTarget->setText(saved.value(RaceLogWindow, TargetProfit, QString()));
    txtCoefficient->setText(saved.value(RaceLogWindow, Coefficient, CoefficientDefault));
    store = std::make_unique<RaceStore>();
    const bool changes = store->access() == RaceStore::Access::Changes;
    for (QWidget *control : std::initializer_list<QWidget *>{btnRecord, btnHit, btnMiss, btnDelete})
        control->setEnabled(changes);
    for (QAction *action : {hitAction, missAction, deleteAction})
        action->setEnabled(changes);
    if (!changes)
        grdRaces->setEditTriggers(QAbstractItemView::NoEditTriggers);
    refresh();
}

void frmRaceLog::Form_Unload(settings::Transaction &save) {
    save.setValue(settings::RaceLogWindow, settings::TargetProfit, txtTarget->text());
    save.setValue(settings::RaceLogWindow, settings::Coefficient, txtCoefficient->text());
}

// Another copy of the program may have recorded meanwhile: the record is
// read again whenever the window comes to the front.
bool frmRaceLog::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate && store)
        refresh();
    return Form::event(event);
}

void frmRaceLog::refresh() {
    const RaceStore::Contents contents = store->load();
    races = contents.races;
    const int selected = grdRaces->currentIndex().row();
    // A record whose figures leave the range (changed by hand) is told in the
    // bottom line: a message box here would come back with every activation.
    try {
        table->setRows(RaceRows(races));
        lblSummary->setText(SummaryLine(Summarize(races)));
    } catch (const RuntimeError &) {
        table->setRows({});
        lblSummary->setText(message::OverflowText);
    }
    // Every figure shown whole: the columns as wide as what they hold.
    grdRaces->resizeColumnsToContents();
    if (selected >= 0 && selected < table->rowCount())
        grdRaces->selectRow(selected);
    if (!contents.problem.isEmpty())
        lblSummary->setText(contents.problem);
    showNextRace();
}

// The next race's figures follow its inputs as they are typed; while one of
// them cannot be read there are none.
void frmRaceLog::showNextRace() {
    const Reading<std::int64_t> odds = ReadOdds(txtOdds->text());
    const Reading<Amount> target = ReadTarget(txtTarget->text());
    const Reading<int> coefficient = ReadCoefficient(txtCoefficient->text());
    const auto ticket = TicketType(cmbTicket->currentIndex());
    QString stake, payout, profit;
    try {
        if (odds.value && target.value && coefficient.value) {
            const NextRace next =
                CalcNextRace(*odds.value, *target.value, *coefficient.value, RunningLoss(races));
            stake = FormatAmount(next.stake);
            payout = FormatAmount(next.payout);
            profit = FormatAmount(next.profit);
        }
    } catch (const RuntimeError &) {
    }
    lblInvestAmount->setText(stake);
    lblRecovery->setText(payout);
    lblProfit->setText(profit);
    txtStake->setPlaceholderText(stake);
    lblHitChance->setText(odds.value ? HitChanceLine(ticket, *odds.value) : QString());
}

// The race goes into the record as 未確定, at today's date, with the stake
// worked out unless the user typed another. Each field is read in the order
// of the window; the first that cannot be read is told, and nothing is kept.
void frmRaceLog::btnRecord_Click() {
    const auto odds = accepted(ReadOdds(txtOdds->text()), txtOdds);
    if (!odds)
        return;
    const auto target = accepted(ReadTarget(txtTarget->text()), txtTarget);
    if (!target)
        return;
    const auto coefficient = accepted(ReadCoefficient(txtCoefficient->text()), txtCoefficient);
    if (!coefficient)
        return;
    const auto name = accepted(ReadRaceName(txtRaceName->text()), txtRaceName);
    if (!name)
        return;
    std::optional<Amount> stake; // the one worked out, unless another is typed
    if (!txtStake->text().trimmed().isEmpty()) {
        stake = accepted(ReadStake(txtStake->text()), txtStake);
        if (!stake)
            return;
    }
    try {
        Race race;
        race.date = QDate::currentDate();
        race.name = *name;
        race.ticket = TicketType(cmbTicket->currentIndex());
        race.oddsTenths = *odds;
        race.stake =
            stake ? *stake : CalcNextRace(*odds, *target, *coefficient, RunningLoss(races)).stake;
        if (changed(store->add(race))) {
            txtRaceName->clear();
            txtStake->clear();
            grdRaces->selectRow(table->rowCount() - 1);
        }
    } catch (const RuntimeError &error) {
        ShowRuntimeError(error);
    }
}

std::optional<Race> frmRaceLog::selectedRace() const {
    const QModelIndex current = grdRaces->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return table->race(current.row());
}

// A hit pays what the stake makes at the odds bought at, as a proposal: the
// payout is opened for correcting at once, since the final odds differ.
void frmRaceLog::setResult(RaceResult result) {
    std::optional<Race> race = selectedRace();
    if (!race)
        return;
    const int row = grdRaces->currentIndex().row();
    try {
        if (race->result != result)
            race->payout =
                result == RaceResult::Hit ? PayoutAt(race->stake, race->oddsTenths) : Amount();
        race->result = result;
        if (changed(store->change(*race)) && result == RaceResult::Hit) {
            const QModelIndex payout = table->index(row, PayoutColumn);
            grdRaces->setCurrentIndex(payout);
            grdRaces->edit(payout);
        }
    } catch (const RuntimeError &error) {
        ShowRuntimeError(error);
    }
}

void frmRaceLog::deleteRace() {
    const std::optional<Race> race = selectedRace();
    if (!race)
        return;
    const QString which = race->name.isEmpty() ? DateText(race->date) : race->name;
    if (AskYesNo(u"%1 のレース（%2 %3円）を記録から削除しますか？"_s.arg(
                     which, TicketName(race->ticket), FormatAmount(race->stake)),
                 windowTitle()))
        changed(store->remove(race->id));
}

// A field of a race corrected in the table. A text the field does not take
// is told, and the field offered again.
void frmRaceLog::correct(Race race, int column, const QString &text) {
    const int row = int(races.indexOf(race));
    if (row < 0)
        return; // changed meanwhile (by another copy)
    auto take = [&](const auto &reading, auto &field) {
        if (const auto value = accepted(reading, nullptr)) {
            field = *value;
            return true;
        }
        const QModelIndex index = table->index(row, column);
        grdRaces->setCurrentIndex(index);
        grdRaces->edit(index);
        return false;
    };
    bool read = true;
    switch (column) {
    case DateColumn:
        read = take(ReadDate(text), race.date);
        break;
    case NameColumn:
        read = take(ReadRaceName(text), race.name);
        break;
    case TicketColumn:
        race.ticket = TicketNamed(text).value_or(race.ticket);
        break;
    case OddsColumn:
        read = take(ReadOdds(text), race.oddsTenths);
        break;
    case StakeColumn:
        read = take(ReadStake(text), race.stake);
        break;
    case ResultColumn:
        grdRaces->setCurrentIndex(table->index(row, column));
        setResult(ResultNamed(text).value_or(race.result));
        return;
    case PayoutColumn:
        read = take(ReadPayout(text), race.payout);
        break;
    }
    try {
        if (read)
            changed(store->change(race));
    } catch (const RuntimeError &error) {
        ShowRuntimeError(error);
    }
}

bool frmRaceLog::changed(const QString &failure) {
    refresh();
    if (!failure.isEmpty())
        MsgBox(failure, windowTitle());
    return failure.isEmpty();
}

// The whole record as it stands, for a spreadsheet.
void frmRaceLog::saveRecord() {
    refresh();
    QByteArray contents;
    try {
        contents = RaceLogCsv(races);
    } catch (const RuntimeError &error) {
        ShowRuntimeError(error);
        return;
    }
    SaveCsvFile(this, u"レース記録.csv"_s, contents);
}

void frmRaceLog::OKButton_Click() {
    close();
}

} // namespace morvex
