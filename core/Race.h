#pragma once

#include "core/Amount.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

// A bettor's day race by race: the races he records, each at its own odds,
// and the stake the next race asks for to win back what the series has lost
// and the target profit besides. Money is whole yen in an Amount; odds are
// held exactly as the board shows them, in tenths (3.0 is 30). Every figure
// is integer arithmetic; a figure beyond the Amount range raises Overflow.
namespace morvex {

// The ticket types, in the order the program lists them.
enum class TicketType {
    Win,
    Place,
    BracketQuinella,
    Quinella,
    QuinellaPlace,
    Exacta,
    Trio,
    Trifecta,
    Win5
};
inline constexpr int TicketTypes = 9;

// "単勝", "複勝", "枠連", "馬連", "ワイド", "馬単", "3連複", "3連単", "WIN5".
QString TicketName(TicketType ticket);
// The ticket type of that name, or nothing.
std::optional<TicketType> TicketNamed(const QString &name);
// The share of the stakes a ticket type pays back, in per mille (単勝 800,
// 3連単 725), and as the text "80%", "77.5%".
int PayoutRatePermille(TicketType ticket);
QString PayoutRateText(TicketType ticket);

enum class RaceResult { Pending, Hit, Miss };
// "未確定", "的中", "不的中".
QString ResultName(RaceResult result);
std::optional<RaceResult> ResultNamed(const QString &name);

// One recorded race.
struct Race {
    std::int64_t id = 0; // the record's number for it; 0 before it is recorded
    QDate date;
    QString name; // "東京11R", or empty
    TicketType ticket = TicketType::Win;
    std::int64_t oddsTenths = 0; // above 10
    Amount stake;                // whole hundreds of yen, at least 100
    RaceResult result = RaceResult::Pending;
    Amount payout; // 的中: what it paid, whole yen; otherwise 0

    friend bool operator==(const Race &, const Race &) = default;
};

// Whole yen as an amount; Overflow beyond the range.
Amount Yen(std::int64_t yen);
// The whole yen of an amount (its fraction dropped).
std::int64_t WholeYen(Amount amount);

// What a stake pays at these odds: stake × odds, exact (whole yen for a
// stake of whole hundreds). Overflow beyond the range.
Amount PayoutAt(Amount stake, std::int64_t oddsTenths);

// The next race's figures.
struct NextRace {
    Amount stake;  // 今回投資額
    Amount payout; // 的中時回収額
    Amount profit; // 的中時利益: payout − stake − loss
};

// The stake that wins back the running loss and the target profit, times
// the coefficient, at these odds, in whole hundreds and at least 100:
// max(100, 100 × ⌈c × (loss + target) ÷ (odds − 1) ÷ 100⌉), exact. The odds
// must be above 1 (DivisionByZero otherwise); the coefficient is in tenths.
// Overflow when a figure leaves the Amount range.
NextRace CalcNextRace(std::int64_t oddsTenths, Amount target, int coefficientTenths, Amount loss);

// The target profit the main window's inputs stand for: start amount ×
// (odds − 1) of the values it reads, to whole yen, halves away from zero,
// exact; 0 where that is not positive. Overflow beyond the range or for odds
// that are not a number.
Amount DefaultTarget(std::int32_t startAmount, float odds);

// Texts as the record shows them: odds with their one decimal ("3.0",
// "1234.5"; the user's decimal point unless another is given), a date
// ("2025/06/01"), a ratio in tenths of a percent ("144.7%", "－" when there
// is none; exact to 2^53 tenths, beyond any amount against 100 yen).
QString OddsText(std::int64_t oddsTenths, const QString &point = QLocale().decimalPoint());
QString DateText(const QDate &date);
QString PercentText(std::optional<std::int64_t> tenths);

// A ratio part ÷ whole in tenths of a percent, halves away from zero, exact;
// nothing when whole is 0. Both at least 0.
std::optional<std::int64_t> PercentTenths(std::int64_t part, std::int64_t whole);

// What the user typed into a field of the record window: the value, or the
// field's caption and what is wrong with the text (in the main window's
// words where it has the same rule).
template <typename T> struct Reading {
    std::optional<T> value;
    QString caption;
    QString problem;
};

// 倍率: above 1, at most one decimal; the value in tenths.
Reading<std::int64_t> ReadOdds(const QString &text);
// 投資額: whole hundreds of yen, at least 100.
Reading<Amount> ReadStake(const QString &text);
// 払戻額: whole yen, at least 0.
Reading<Amount> ReadPayout(const QString &text);
// 目標利益: whole yen, at least 0.
Reading<Amount> ReadTarget(const QString &text);
// 係数: 1.0 to 2.0, at most one decimal; the value in tenths.
Reading<int> ReadCoefficient(const QString &text);
// 日付: year/month/day ("2026/12/08", "2026/12/8").
Reading<QDate> ReadDate(const QString &text);
// レース: any text of at most 40 characters, as typed.
Reading<QString> ReadRaceName(const QString &text);

} // namespace morvex
