#include "core/RaceLog.h"

#include "core/Export.h"
#include "core/NumberText.h"

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

// What a race counts as having paid: nothing while it is 未確定.
Amount counted(const Race &race) {
    return race.result == RaceResult::Pending ? Amount() : race.payout;
}

Amount lossAfter(Amount loss, const Race &race) {
    return std::max(Amount(), loss + (race.stake - counted(race)));
}

QString yen(Amount amount) {
    return FormatAmount(amount) + u"円"_s;
}

} // namespace

QStringList RaceColumnNames() {
    return {u"日付"_s, u"レース"_s, u"券種"_s, u"倍率"_s,    u"投資額"_s,
            u"結果"_s, u"払戻額"_s, u"収支"_s, u"損失累計"_s};
}

QList<RaceRow> RaceRows(const QList<Race> &races) {
    QList<RaceRow> rows;
    Amount loss;
    int series = 1;
    for (const Race &race : races) {
        if (!rows.isEmpty() && rows.last().loss == Amount())
            ++series;
        loss = lossAfter(loss, race);
        RaceRow row{race, counted(race), counted(race) - race.stake, loss, series, {}};
        row.texts = {DateText(race.date),      race.name,
                     TicketName(race.ticket),  OddsText(race.oddsTenths),
                     FormatAmount(race.stake), ResultName(race.result),
                     FormatAmount(row.payout), FormatAmount(row.balance),
                     FormatAmount(row.loss)};
        rows.append(row);
    }
    return rows;
}

Amount RunningLoss(const QList<Race> &races) {
    Amount loss;
    for (const Race &race : races)
        loss = lossAfter(loss, race);
    return loss;
}

RaceSummary Summarize(const QList<Race> &races) {
    RaceSummary summary;
    int run = 0;
    for (const Race &race : races) {
        summary.staked = summary.staked + race.stake;
        summary.paid = summary.paid + counted(race);
        summary.loss = lossAfter(summary.loss, race);
        summary.hits += race.result == RaceResult::Hit;
        summary.decided += race.result != RaceResult::Pending;
        run = race.result == RaceResult::Hit ? 0 : run + 1;
        summary.longestDefeats = std::max(summary.longestDefeats, run);
    }
    summary.currentDefeats = run;
    summary.balance = summary.paid - summary.staked;
    summary.returnTenths = PercentTenths(WholeYen(summary.paid), WholeYen(summary.staked));
    summary.hitTenths = PercentTenths(summary.hits, summary.decided);
    return summary;
}

QList<std::pair<QString, QString>> SummaryItems(const RaceSummary &summary) {
    return {
        {u"投資合計"_s, yen(summary.staked)},
        {u"払戻合計"_s, yen(summary.paid)},
        {u"収支"_s, yen(summary.balance)},
        {u"回収率"_s, PercentText(summary.returnTenths)},
        {u"的中率"_s, PercentText(summary.hitTenths)},
        {u"最大連敗"_s, u"%1連敗"_s.arg(summary.longestDefeats)},
        {u"現在"_s, u"%1連敗（損失累計 %2）"_s.arg(summary.currentDefeats).arg(yen(summary.loss))}};
}

QString SummaryLine(const RaceSummary &summary) {
    QStringList items;
    for (const auto &[caption, text] : SummaryItems(summary))
        items.append(caption + u' ' + text);
    return items.mid(0, 4).join(u'　') + u'\n' + items.mid(4).join(u'　');
}

QByteArray RaceLogCsv(const QList<Race> &races) {
    QList<QStringList> records{RaceColumnNames()};
    const auto plain = [](Amount amount) { return QString::number(WholeYen(amount)); };
    for (const RaceRow &row : RaceRows(races))
        records.append({DateText(row.race.date), row.race.name, TicketName(row.race.ticket),
                        OddsText(row.race.oddsTenths, u"."_s), plain(row.race.stake),
                        ResultName(row.race.result), plain(row.payout), plain(row.balance),
                        plain(row.loss)});
    return CsvDocument(records);
}

} // namespace morvex
