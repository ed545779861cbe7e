#pragma once

#include "core/Race.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <utility>

// The record of the day's races as the record window shows it: a row per
// race with what it did to the running loss, and the bottom line. Every
// figure raises Overflow when it leaves the Amount range.
//
// The running loss L starts at 0 and after each race is max(0, L + stake −
// payout). A race still 未確定 counts as lost (payout 0) in it, and so in the
// next stake: the worst case. L back at 0 ends a series; the next race
// starts the next one.
namespace morvex {

// The table's columns: 日付, レース, 券種, 倍率, 投資額, 結果, 払戻額, 収支,
// 損失累計.
enum RaceColumn {
    DateColumn,
    NameColumn,
    TicketColumn,
    OddsColumn,
    StakeColumn,
    ResultColumn,
    PayoutColumn,
    BalanceColumn,
    LossColumn,
    RaceColumns
};
QStringList RaceColumnNames();

// A race as the table shows it.
struct RaceRow {
    Race race;
    Amount payout;  // counted: 0 while 未確定
    Amount balance; // 収支: payout − stake
    Amount loss;    // 損失累計: the running loss after this race
    int series;     // 1, 2, …; a race that brings the loss back to 0 ends one
    QStringList texts; // the columns as shown ("2025/06/01", "東京11R", "単勝", "3.0", "1,000", …)
};
QList<RaceRow> RaceRows(const QList<Race> &races);

// The running loss after the last race (0 for none): what the next stake
// wins back.
Amount RunningLoss(const QList<Race> &races);

// The bottom line. How a race still 未確定 counts:
// - 投資合計: its stake is in (the money is spent).
// - 払戻合計: it has paid nothing yet.
// - 収支 (払戻合計 − 投資合計): so it stands as lost.
// - 回収率 (払戻合計 ÷ 投資合計): its stake is in, its payout is not: lost.
// - 的中率 (的中 ÷ decided races): it is left out, neither hit nor miss.
// - 最大連敗 and the current run: it counts as a defeat, as in the running
//   loss; a run is the races in a row without a 的中.
struct RaceSummary {
    Amount staked;                            // 投資合計
    Amount paid;                              // 払戻合計
    Amount balance;                           // 収支
    std::optional<std::int64_t> returnTenths; // 回収率 in 0.1 %; none when nothing is staked
    std::optional<std::int64_t> hitTenths;    // 的中率 in 0.1 %; none when nothing is decided
    int hits = 0;
    int decided = 0;
    int longestDefeats = 0; // 最大連敗
    int currentDefeats = 0; // the run the record ends in
    Amount loss;            // the running loss it has left
};
RaceSummary Summarize(const QList<Race> &races);

// The bottom line's items as caption and text: 投資合計 "4,700円", 払戻合計,
// 収支, 回収率 "144.7%" (or "－"), 的中率, 最大連敗 "2連敗", 現在 "0連敗（損失累計
// 0円）"; and all of them in two lines, the money and then the races, separated
// by full-width spaces.
QList<std::pair<QString, QString>> SummaryItems(const RaceSummary &summary);
QString SummaryLine(const RaceSummary &summary);

// The whole record as comma-separated values: the column names, then a line
// per race with the figures as plain numbers ("1000", "3.0").
QByteArray RaceLogCsv(const QList<Race> &races);

} // namespace morvex
