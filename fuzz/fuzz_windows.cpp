// The real windows on whatever a user might type: the text goes into the
// main window's boxes, a defeats item is picked, and the calculation and
// table buttons are pressed. Every figure, heading and message the windows
// then show is compared with a second working of the arithmetic, written
// here from its definition apart from the program's own code; fields that a
// failure leaves alone must keep their earlier text.
//
// Input: "<defeats>|<start amount>|<odds>".
#include "FuzzCheck.h"

#include "app/Program.h"
#include "core/NumberText.h"
#include "tools/Driver.h"

#include <QApplication>
#include <QComboBox>
#include <cmath>

using namespace Qt::StringLiterals;

using namespace morvex;
using namespace morvex::fuzz;

namespace {

// ---- The arithmetic once more -------------------------------------------

struct Fault {
    QString message; // "title / text"
};
const Fault Overflowed{u"オーバーフロー / 金額が大きくなり過ぎて計算不能です。\r\n"
                       u"開始金額を下げるか倍率を上げるか連敗数を下げるかしてくだされ。"_s};
const Fault DividedByZero{u"Morvex / 0 で除算しました。"_s};

double finite(double value) {
    if (!std::isfinite(value))
        throw Overflowed;
    return value;
}

// Fixed point with four decimals: value × 10,000 to the nearest, ties to even.
qint64 fixed(double value) {
    const double scaled = std::nearbyint(value * 10000.0);
    if (!(std::fabs(scaled) < 0x1p63 || scaled == -0x1p63))
        throw Overflowed;
    return qint64(scaled);
}

// Half up to whole hundreds: floor(value × 0.01 + 0.5) ÷ 0.01.
double hundreds(double value) {
    return std::floor(finite(finite(value * 0.01) + 0.5)) / 0.01;
}

float upRate(float odds) {
    if (double(odds) - 1.0 == 0.0)
        throw DividedByZero;
    const double rate = double(odds) / (double(odds) - 1.0);
    if (std::isnan(rate) || std::fabs(rate) >= 0x1.ffffffp127)
        throw Overflowed;
    return float(rate);
}

qint64 stake(qint32 start, float rate, int defeats) {
    return fixed(hundreds(finite(std::pow(double(rate), defeats) * start)));
}

qint64 total(qint32 start, float rate, int defeats) {
    qint64 sum = 0;
    for (int i = 0; i <= defeats; ++i) {
        if (__builtin_add_overflow(sum, fixed(finite(std::pow(double(rate), i) * start)), &sum))
            throw Overflowed;
        sum = fixed(hundreds(double(sum) / 10000.0));
    }
    return sum;
}

QString grouped(QString digits) {
    const bool negative = digits.startsWith(u'-');
    for (qsizetype at = digits.size() - 3; at > (negative ? 1 : 0); at -= 3)
        digits.insert(at, u',');
    return digits;
}
qint64 yen(qint64 raw) { // whole yen, halves away from zero
    return (raw + (raw < 0 ? -5000 : 5000)) / 10000;
}
QString shown(qint64 raw) {
    return grouped(QString::number(yen(raw)));
}
QString shown(double whole) {
    return grouped(QString::asprintf("%.0f", std::round(whole) + 0.0)); // never "-0"
}

// ---- The windows ----------------------------------------------------------

QStringList *messages; // what the message boxes of a press said
const QString Main = u"frmMain"_s, Table = u"frmInvestTable"_s;

// What a press left on screen compared with what it should have.
void compare(const QString &window, const QMap<QString, QString> &expected,
             const QStringList &expectedMessages, const QString &input) {
    FUZZ_REQUIRE(*messages == expectedMessages, "the message of a press",
                 input + u" shows "_s + messages->join(u" | "_s) + u", expected "_s +
                     expectedMessages.join(u" | "_s));
    for (auto cell = expected.begin(); cell != expected.end(); ++cell) {
        FUZZ_REQUIRE(driver::text(window, cell.key()) == cell.value(), "every figure as worked out",
                     input + u": "_s + cell.key() + u" shows "_s +
                         driver::text(window, cell.key()) + u", expected "_s + cell.value());
        FUZZ_REQUIRE(driver::shownWhole(driver::control(window, cell.key())),
                     "every figure drawn whole in its field", input + u": "_s + cell.key());
    }
}

// The inputs as the check and the conversions take them, or the message.
std::pair<qint32, float> inputs() {
    auto value = [](const QString &box, const QString &title, double below) {
        const QString text = driver::text(Main, box);
        if (!IsNumeric(text))
            throw Fault{title + u" / 数値を入力して下さい。"_s};
        const double read = ToNumber(text);
        if (below == 100 ? read < 100 : read <= 1)
            throw Fault{title + (below == 100 ? u" / １００円以上を設定して下さい。"_s
                                              : u" / 1.0倍より大きい値を設定して下さい。"_s)};
        return read;
    };
    const double start = value(u"txtStartAmount"_s, u"開始金額"_s, 100);
    const double odds = value(u"txtOdds"_s, u"倍率"_s, 1);
    const double whole = std::nearbyint(start);
    if (!(whole >= -0x1p31 && whole < 0x1p31))
        throw Overflowed;
    return {qint32(whole),
            std::fabs(odds) >= 0x1.ffffffp127 ? float(std::copysign(INFINITY, odds)) : float(odds)};
}

void pressCalculate(int defeats, const QString &input) {
    QMap<QString, QString> expected;
    for (const char *field :
         {"lblTotalAmount", "lblInvestAmount", "lblRecovery", "lblProfit", "lblUpRate"})
        expected[QLatin1String(field)] = driver::text(Main, QLatin1String(field));
    QStringList message;
    try {
        const auto [start, odds] = inputs();
        const float rate = upRate(odds);
        const qint64 sum = total(start, rate, defeats);
        if (sum != 0) {
            expected[u"lblTotalAmount"_s] = shown(sum);
            const qint64 next = stake(start, rate, defeats);
            expected[u"lblInvestAmount"_s] = shown(next);
            const qint64 payout = fixed(finite(double(next) / 10000.0 * odds));
            expected[u"lblRecovery"_s] = shown(payout);
            qint64 profit;
            if (__builtin_sub_overflow(payout, sum, &profit))
                throw Overflowed;
            expected[u"lblProfit"_s] = shown(profit);
            expected[u"lblUpRate"_s] = SingleText(rate);
        }
    } catch (const Fault &fault) {
        message = {fault.message};
    }
    messages->clear();
    driver::press(Main, u"btnCalcAmount"_s);
    compare(Main, expected, message, input);
}

void pressTable(const QString &input) {
    const bool wasOpen = driver::window(Table);
    QMap<QString, QString> expected;
    QStringList message;
    auto cell = [](const char *column, int row) {
        return QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(row);
    };
    if (wasOpen)
        for (const char *column : {"lblInvest", "lblTotal", "lblRecovery", "lblProfit"})
            for (int row = 0; row < 10; ++row)
                expected[cell(column, row)] = driver::text(Table, cell(column, row));
    try {
        const auto [start, odds] = inputs();
        const float rate = upRate(odds);
        for (int row = 0; row < 10; ++row) {
            const qint64 next = stake(start, rate, row);
            expected[cell("lblInvest", row)] = shown(next);
            const qint64 sum = total(start, rate, row);
            expected[cell("lblTotal", row)] = shown(sum);
            const double payout = finite(double(yen(next)) * odds);
            expected[cell("lblRecovery", row)] = shown(payout);
            const double profit = std::round(payout) - double(yen(sum));
            if (std::fabs(profit) < 0x1p53) // beyond, the double cannot say
                expected[cell("lblProfit", row)] = shown(profit);
            else
                expected.remove(cell("lblProfit", row));
        }
        expected[u"lblStartAmount"_s] = u"開始金額："_s + grouped(QString::number(start)) + u"円"_s;
        expected[u"lblOdds"_s] = u"倍率："_s + SingleText(odds) + u"倍"_s;
        expected[u"lblUpRate"_s] = u"上昇率："_s + SingleText(rate) + u"倍"_s;
    } catch (const Fault &fault) {
        message = {fault.message};
    }
    messages->clear();
    driver::press(Main, u"btnTable"_s);
    if (!message.isEmpty() && !wasOpen) {
        FUZZ_REQUIRE(!driver::window(Table), "a failed first fill leaves no table window", input);
        expected.clear();
    }
    compare(Table, expected, message, input);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static auto *application = new QApplication(*argc, *argv); // lives as long as the process
    static driver::ScratchSettings settings;                   // never the user's settings
    static driver::MessageRecorder recorder;
    messages = &recorder.messages;
    Q_UNUSED(application);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    startProgram();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> parts = bytes.split('|');
    if (parts.size() != 3)
        return 0;
    const int defeats = parts[0].startsWith('-') ? -1 : parts[0].left(4).toInt() % 20;
    const QString start = QString::fromUtf8(parts[1]), odds = QString::fromUtf8(parts[2]);
    const QString input =
        describe(start) + u" / "_s + describe(odds) + u" / "_s + QString::number(defeats);
    driver::control<QLineEdit>(Main, u"txtStartAmount"_s)->setText(start);
    driver::control<QLineEdit>(Main, u"txtOdds"_s)->setText(odds);
    driver::control<QComboBox>(Main, u"cmbDefeats"_s)->setCurrentIndex(defeats);
    pressCalculate(defeats, input);
    pressTable(input);
    return 0;
}
