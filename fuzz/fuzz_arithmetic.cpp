// The progression arithmetic and the conversions it relies on, on raw binary
// arguments: far more than the windows can pass, to show that whatever goes
// wrong surfaces as Overflow or DivisionByZero and that the results keep their
// shape (whole hundreds, totals at least the stake).
#include "FuzzCheck.h"

#include "core/Amount.h"
#include "core/CommonModule.h"
#include "core/NumberText.h"
#include "core/RuntimeError.h"

#include <cmath>
#include <cstdint>

using namespace morvex;
using namespace morvex::fuzz;

namespace {

bool arithmeticError(int error) {
    return error == 0 || error == Overflow || error == DivisionByZero;
}

QString errorText(int error) {
    return u" error "_qs + QString::number(error);
}

void checkUpRate(float odds) {
    if (std::isnan(odds))
        return; // the windows never read NaN odds
    float up = 0;
    const int error = errorOf([&] { up = CalcUpRate(odds); });
    FUZZ_REQUIRE(arithmeticError(error), "CalcUpRate raises only arithmetic errors",
                 describe(odds) + errorText(error));
    FUZZ_REQUIRE((error == DivisionByZero) == (odds == 1.0f),
                 "CalcUpRate divides by zero exactly for odds of 1",
                 describe(odds) + errorText(error));
    if (error == 0 && odds > 1.0f && std::isfinite(odds))
        FUZZ_REQUIRE(up >= 1.0f && std::isfinite(up),
                     "odds above 1 give a finite up-rate of 1 or more",
                     describe(odds) + u" → "_qs + describe(up));
}

void checkRoundAmount(double value) {
    double rounded = 0;
    const int error = errorOf([&] { rounded = RoundAmount(value, -2); });
    FUZZ_REQUIRE(error == 0 || error == Overflow, "RoundAmount raises only Overflow",
                 describe(value) + errorText(error));
    if (error != 0 || !(std::fabs(value) < 1e15))
        return;
    FUZZ_REQUIRE(std::fmod(rounded, 100.0) == 0.0,
                 "RoundAmount(v, -2) is a whole number of hundreds",
                 describe(value) + u" → "_qs + describe(rounded));
    const double slack = 1e-12 * std::fabs(value) + 1e-9;
    FUZZ_REQUIRE(rounded > value - 50 - slack && rounded <= value + 50 + slack,
                 "RoundAmount(v, -2) is the nearest hundred",
                 describe(value) + u" → "_qs + describe(rounded));
    if (std::fabs(std::fmod(value, 100.0)) == 50.0)
        FUZZ_REQUIRE(rounded == value + 50, "RoundAmount takes exact halves upwards",
                     describe(value) + u" → "_qs + describe(rounded));
}

void checkConversions(double value) {
    Amount amount;
    const int error = errorOf([&] { amount = ToAmount(value); });
    FUZZ_REQUIRE(error == 0 || error == Overflow, "ToAmount raises only Overflow",
                 describe(value) + errorText(error));
    if (std::fabs(value) <= 9e14)
        // Half a ten-thousandth, plus what the doubles on the way may lose.
        FUZZ_REQUIRE(error == 0 &&
                         std::fabs(amount.toDouble() - value) <= 0.00005 + 1e-15 * std::fabs(value),
                     "ToAmount keeps four decimals of a value in range",
                     describe(value) + u" → "_qs + describe(amount) + errorText(error));
    if (!(std::fabs(value) < 9.3e14))
        FUZZ_REQUIRE(error == Overflow, "ToAmount of a value beyond the range raises Overflow",
                     describe(value) + u" → "_qs + describe(amount));

    std::int32_t int32 = 0;
    const int error32 = errorOf([&] { int32 = ToInt32(value); });
    FUZZ_REQUIRE(error32 == 0 || error32 == Overflow, "ToInt32 raises only Overflow",
                 describe(value) + errorText(error32));
    FUZZ_REQUIRE(error32 != 0 || std::fabs(double(int32) - value) <= 0.5,
                 "ToInt32 gives the nearest integer",
                 describe(value) + u" → "_qs + QString::number(int32));
    FUZZ_REQUIRE(error32 == 0 || !(std::fabs(value) <= 2147483647.0), "ToInt32 converts in range",
                 describe(value));

    std::int16_t int16 = 0;
    const int error16 = errorOf([&] { int16 = ToInt16(value); });
    FUZZ_REQUIRE(error16 == 0 || error16 == Overflow, "ToInt16 raises only Overflow",
                 describe(value) + errorText(error16));
    FUZZ_REQUIRE(error16 != 0 || std::fabs(double(int16) - value) <= 0.5,
                 "ToInt16 gives the nearest integer",
                 describe(value) + u" → "_qs + QString::number(int16));
    FUZZ_REQUIRE(error16 == 0 || !(std::fabs(value) <= 32767.0), "ToInt16 converts in range",
                 describe(value));
}

void checkProgression(std::int32_t start, float up, std::int16_t defeats) {
    const QString arguments = u"start "_qs + QString::number(start) + u", up-rate "_qs +
                              describe(up) + u", defeats "_qs + QString::number(defeats);
    Amount stake;
    const int stakeError = errorOf([&] { stake = CalcInvestAmount(start, up, defeats); });
    FUZZ_REQUIRE(stakeError == 0 || stakeError == Overflow, "CalcInvestAmount raises only Overflow",
                 arguments + errorText(stakeError));
    if (stakeError == 0)
        FUZZ_REQUIRE(isWholeHundreds(stake), "a stake is a whole number of hundreds",
                     arguments + u" → "_qs + describe(stake));

    Amount total;
    const int totalError = errorOf([&] { total = CalcTotalAmount(start, up, defeats); });
    FUZZ_REQUIRE(totalError == 0 || totalError == Overflow, "CalcTotalAmount raises only Overflow",
                 arguments + errorText(totalError));
    if (defeats < 0)
        FUZZ_REQUIRE(totalError == 0 && total == Amount(), "no defeats, no total",
                     arguments + u" → "_qs + describe(total) + errorText(totalError));
    if (totalError == 0)
        FUZZ_REQUIRE(isWholeHundreds(total), "a total is a whole number of hundreds",
                     arguments + u" → "_qs + describe(total));

    if (stakeError == 0 && totalError == 0 && start >= 0 && up >= 1.0f && std::isfinite(up) &&
        defeats >= 0)
        FUZZ_REQUIRE(total >= stake, "the total includes the stake",
                     arguments + u": stake "_qs + describe(stake) + u", total "_qs +
                         describe(total));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    useJapaneseLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Bytes bytes(data, size);
    const auto start = bytes.take<std::int32_t>();
    const auto oddsOrUpRate = bytes.take<float>();
    const auto rawDefeats = bytes.take<std::int16_t>();
    const auto flags = bytes.take<std::uint8_t>();
    const auto value = bytes.take<double>();

    checkUpRate(oddsOrUpRate);
    checkRoundAmount(value);
    checkConversions(value);

    // A long run loops once per defeat; most inputs keep to short runs so that
    // the fuzzer stays fast, one in sixteen takes the whole 16-bit range (up to
    // the counter's own overflow at 32,767).
    const auto defeats = (flags & 0x0F) == 0x0F ? rawDefeats : std::int16_t(rawDefeats % 48);
    // Either an up-rate made from the bytes as odds, as the callers do, or
    // the bytes as the up-rate itself.
    float up = oddsOrUpRate;
    if (flags & 0x10) {
        if (errorOf([&] { up = CalcUpRate(oddsOrUpRate); }) != 0)
            return 0;
    }
    checkProgression(start, up, defeats);
    return 0;
}
