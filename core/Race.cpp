#include "core/Race.h"

#include "core/Messages.h"
#include "core/Natural.h"
#include "core/NumberText.h"
#include "core/RuntimeError.h"

#include <QLocale>
#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

struct TicketFacts {
    const char16_t *name;
    int payoutPermille;
};
// The payout rates in force since June 2014.
constexpr std::array<TicketFacts, TicketTypes> Tickets{{{u"単勝", 800},
                                                        {u"複勝", 800},
                                                        {u"枠連", 775},
                                                        {u"馬連", 775},
                                                        {u"ワイド", 775},
                                                        {u"馬単", 750},
                                                        {u"3連複", 750},
                                                        {u"3連単", 725},
                                                        {u"WIN5", 700}}};

constexpr std::array<const char16_t *, 3> ResultNames{u"未確定", u"的中", u"不的中"};

std::int64_t times(std::int64_t a, std::int64_t b) {
    std::int64_t product;
    if (__builtin_mul_overflow(a, b, &product))
        throw RuntimeError(Overflow);
    return product;
}

// A whole number of tenths as text, its last digit after `point`.
QString tenthsText(std::int64_t tenths, const QString &point) {
    return QString::number(tenths / 10) + point + QString::number(tenths % 10);
}

template <typename T> Reading<T> refused(const QString &caption, const QString &problem) {
    return {std::nullopt, caption, problem};
}

// Whole yen of at least `least`, in steps of `step` yen.
Reading<Amount> readYen(const QString &text, const QString &caption, double least,
                        const QString &belowLeast, std::int64_t step, const QString &offStep) {
    if (!IsNumeric(text))
        return refused<Amount>(caption, message::NotANumber);
    const double value = ToNumber(text);
    if (value < least)
        return refused<Amount>(caption, belowLeast);
    if (value > MostWholeYen)
        return refused<Amount>(caption, message::AtMostLargest(u"円"_s));
    const std::optional<std::int64_t> yen = ToScaledInteger(text, 0);
    if (!yen || *yen % step != 0)
        return refused<Amount>(caption, offStep);
    return {Yen(*yen), {}, {}};
}

} // namespace

QString TicketName(TicketType ticket) {
    return QString::fromUtf16(Tickets[std::size_t(ticket)].name);
}

std::optional<TicketType> TicketNamed(const QString &name) {
    for (int i = 0; i < TicketTypes; ++i)
        if (name == QString::fromUtf16(Tickets[i].name))
            return TicketType(i);
    return std::nullopt;
}

int PayoutRatePermille(TicketType ticket) {
    return Tickets[std::size_t(ticket)].payoutPermille;
}

QString PayoutRateText(TicketType ticket) {
    const int permille = PayoutRatePermille(ticket);
    return (permille % 10 ? tenthsText(permille, QLocale().decimalPoint())
                          : QString::number(permille / 10)) +
           u'%';
}

QString ResultName(RaceResult result) {
    return QString::fromUtf16(ResultNames[std::size_t(result)]);
}

std::optional<RaceResult> ResultNamed(const QString &name) {
    for (std::size_t i = 0; i < ResultNames.size(); ++i)
        if (name == QString::fromUtf16(ResultNames[i]))
            return RaceResult(i);
    return std::nullopt;
}

Amount Yen(std::int64_t yen) {
    return Amount::fromRaw(times(yen, 10000));
}

std::int64_t WholeYen(Amount amount) {
    return amount.raw() / 10000;
}

Amount PayoutAt(Amount stake, std::int64_t oddsTenths) {
    return Yen(times(WholeYen(stake), oddsTenths) / 10);
}

NextRace CalcNextRace(std::int64_t oddsTenths, Amount target, int coefficientTenths, Amount loss) {
    if (oddsTenths <= 10)
        throw RuntimeError(DivisionByZero);
    // c × (L + T) ÷ (O − 1) ÷ 100 = k × (L + T) ÷ (100 × (o − 10)) in tenths
    const std::int64_t numerator = times(coefficientTenths, WholeYen(loss + target));
    const std::int64_t denominator = times(oddsTenths - 10, 100);
    const std::int64_t hundreds = numerator / denominator + (numerator % denominator > 0);
    const Amount stake = Yen(times(std::max<std::int64_t>(hundreds, 1), 100));
    const Amount payout = PayoutAt(stake, oddsTenths);
    return {stake, payout, payout - stake - loss};
}

Amount DefaultTarget(std::int32_t startAmount, float odds) {
    if (!std::isfinite(odds))
        throw RuntimeError(Overflow);
    if (!(odds > 1) || startAmount <= 0)
        return Amount();
    // odds = mantissa × 2^(exponent − 24), with a 24-bit mantissa
    int exponent;
    const auto mantissa = std::int64_t(std::ldexp(std::frexp(odds, &exponent), 24));
    if (exponent > 24) { // a whole number
        if (exponent - 24 > 39)
            throw RuntimeError(Overflow);
        return Yen(times(startAmount, times(mantissa, std::int64_t(1) << (exponent - 24)) - 1));
    }
    // start × (mantissa − 2^shift) ÷ 2^shift, a half upwards; below 2^55
    const int shift = 24 - exponent;
    const std::int64_t scaled = startAmount * (mantissa - (std::int64_t(1) << shift));
    return Yen((scaled + (std::int64_t(1) << shift >> 1)) >> shift);
}

QString OddsText(std::int64_t oddsTenths, const QString &point) {
    return tenthsText(oddsTenths, point);
}

QString DateText(const QDate &date) {
    return date.toString(u"yyyy/MM/dd"_s);
}

QString PercentText(std::optional<std::int64_t> tenths) {
    if (!tenths)
        return u"－"_s;
    return FormatAmount(double(*tenths / 10)) + QLocale().decimalPoint() +
           QString::number(*tenths % 10) + u'%';
}

std::optional<std::int64_t> PercentTenths(std::int64_t part, std::int64_t whole) {
    if (whole == 0)
        return std::nullopt;
    return RoundedQuotient(Natural(std::uint64_t(part)) * 1000, Natural(std::uint64_t(whole)))
        .toUInt64();
}

Reading<std::int64_t> ReadOdds(const QString &text) {
    const QString caption = u"倍率"_s;
    if (!IsNumeric(text))
        return refused<std::int64_t>(caption, message::NotANumber);
    const double value = ToNumber(text);
    if (!(value > 1))
        return refused<std::int64_t>(caption, message::OddsNotAboveOne);
    if (value > MostWholeYen)
        return refused<std::int64_t>(caption, message::AtMostLargest(u"倍"_s));
    const std::optional<std::int64_t> tenths = ToScaledInteger(text, 1);
    if (!tenths)
        return refused<std::int64_t>(caption, message::OneDecimalAtMost);
    return {tenths, {}, {}};
}

Reading<Amount> ReadStake(const QString &text) {
    return readYen(text, u"投資額"_s, 100, message::Below100Yen, 100, message::Not100YenSteps);
}

Reading<Amount> ReadPayout(const QString &text) {
    return readYen(text, u"払戻額"_s, 0, message::BelowZeroYen, 1, message::NotWholeYen);
}

Reading<Amount> ReadTarget(const QString &text) {
    return readYen(text, u"目標利益"_s, 0, message::BelowZeroYen, 1, message::NotWholeYen);
}

Reading<int> ReadCoefficient(const QString &text) {
    const QString caption = u"係数"_s;
    if (!IsNumeric(text))
        return refused<int>(caption, message::NotANumber);
    const double value = ToNumber(text);
    if (!(value >= 1 && value <= 2))
        return refused<int>(caption, message::CoefficientOutOfRange);
    const std::optional<std::int64_t> tenths = ToScaledInteger(text, 1);
    if (!tenths)
        return refused<int>(caption, message::OneDecimalAtMost);
    if (*tenths < 10 || *tenths > 20) // 1.0 and 2.0 exactly, whatever the double said
        return refused<int>(caption, message::CoefficientOutOfRange);
    return {int(*tenths), {}, {}};
}

Reading<QDate> ReadDate(const QString &text) {
    const QStringList parts = text.trimmed().split(u'/');
    const QDate date =
        parts.size() == 3 ? QDate(parts[0].toInt(), parts[1].toInt(), parts[2].toInt()) : QDate();
    if (!date.isValid())
        return refused<QDate>(u"日付"_s, message::NotADate);
    return {date, {}, {}};
}

Reading<QString> ReadRaceName(const QString &text) {
    if (text.toUcs4().size() > 40)
        return refused<QString>(u"レース"_s, message::NameTooLong);
    return {text, {}, {}};
}

} // namespace morvex
