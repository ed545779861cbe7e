// The race record's figures: the next race's stake, payout and profit in
// exact integers, the default target, what each field reads from the user's
// text, the running loss and the bottom line of a record, its table texts
// and its CSV.
#include "core/NumberText.h"
#include "core/RaceLog.h"
#include "core/RuntimeError.h"
#include "tests/TestData.h"
#include "tests/core/ErrorOf.h"

#include <QLocale>
#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;

using namespace morvex;
using namespace morvex::test;

namespace {

QString yenText(Amount amount) {
    return QString::number(WholeYen(amount));
}

// "3.0 1000 的中 6800; 2.5 2000 不的中" as races.
QList<Race> racesOf(const QString &text) {
    QList<Race> races;
    for (const QString &race : text.split(u';', Qt::SkipEmptyParts)) {
        const QStringList f = race.split(u' ', Qt::SkipEmptyParts);
        races.append({races.size() + 1,
                      QDate(2025, 6, 1),
                      {},
                      TicketType::Win,
                      *ToScaledInteger(f[0], 1),
                      Yen(f[1].toLongLong()),
                      *ResultNamed(f[2]),
                      Yen(f.value(3).toLongLong())});
    }
    return races;
}

// The text of what a call gives, or of the error it raises.
QString outcome(const std::function<QString()> &call) {
    QString text;
    const int error = errorOf([&] { text = call(); });
    return error == int(Overflow)         ? u"overflow"_s
           : error == int(DivisionByZero) ? u"division by zero"_s
                                          : text;
}

} // namespace

class TestRace : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }

    void nextRace_data() { addRowsFrom("core/nextrace.txt"); }

    void nextRace() {
        const auto [odds, target, coefficient, loss, stake, payout, profit] = cells<7>();
        const QString figures = outcome([&] {
            const NextRace next = CalcNextRace(odds.toLongLong(), Yen(target.toLongLong()),
                                               coefficient.toInt(), Yen(loss.toLongLong()));
            return yenText(next.stake) + u' ' + yenText(next.payout) + u' ' + yenText(next.profit);
        });
        QCOMPARE(figures, QStringList({stake, payout, profit}).join(u' ').trimmed());
    }

    void defaultTarget_data() { addRowsFrom("core/targets.txt"); }

    void defaultTarget() {
        const auto [start, odds, target] = cells<3>();
        QCOMPARE(outcome([&] { return yenText(DefaultTarget(start.toInt(), odds.toFloat())); }),
                 target);
    }

    void reading_data() { addRowsFrom("core/racereadings.txt"); }

    void reading() {
        const auto [field, text, expected] = cells<3>();
        const auto shown = [](const auto &reading, auto value) {
            return reading.value ? value(*reading.value)
                                 : reading.caption + u" / "_s + reading.problem;
        };
        const auto number = [](auto value) { return QString::number(value); };
        const QString read = field == u"odds"_s     ? shown(ReadOdds(text), number)
                             : field == u"stake"_s  ? shown(ReadStake(text), yenText)
                             : field == u"payout"_s ? shown(ReadPayout(text), yenText)
                             : field == u"target"_s ? shown(ReadTarget(text), yenText)
                             : field == u"coefficient"_s
                                 ? shown(ReadCoefficient(text), number)
                                 : shown(ReadRaceName(text), [](QString s) { return s; });
        QCOMPARE(read, expected);
    }

    void record_data() { addRowsFrom("core/records.txt"); }

    void record() {
        const auto [races, losses, series, line] = cells<4>();
        const QList<Race> record = racesOf(races);
        QStringList loss, serial;
        const QString rows = outcome([&] {
            for (const RaceRow &row : RaceRows(record)) {
                loss.append(row.texts[LossColumn]);
                serial.append(QString::number(row.series));
            }
            return loss.join(u' ');
        });
        if (rows == u"overflow"_s)
            serial.clear();
        QCOMPARE(rows, losses);
        QCOMPARE(serial.join(u' '), series);
        QCOMPARE(outcome([&] { return SummaryLine(Summarize(record)); }), line);
        if (rows != u"overflow"_s)
            QCOMPARE(yenText(RunningLoss(record)),
                     record.isEmpty() ? u"0"_s : loss.last().remove(u','));
    }

    // Ratios in tenths of a percent, halves away from zero.
    void percentages_data() { addRowsFrom("core/percentages.txt"); }

    void percentages() {
        const auto [part, whole, text] = cells<3>();
        QCOMPARE(PercentText(PercentTenths(part.toLongLong(), whole.toLongLong())), text);
    }

    // A row's columns as the table shows them, and the whole record as CSV.
    void tableAndCsv() {
        QList<Race> races = racesOf(u"3.0 1000 不的中; 2.5 2000 不的中; 4.0 1700 的中 6800"_s);
        races[0].name = u"東京11R"_s;
        races[1].name = u"中山,\"12R\""_s;
        races[2].ticket = TicketType::Trifecta;
        QCOMPARE(RaceColumnNames().join(u' '),
                 u"日付 レース 券種 倍率 投資額 結果 払戻額 収支 損失累計"_s);
        const QList<RaceRow> rows = RaceRows(races);
        QCOMPARE(rows[0].texts.join(u'|'),
                 u"2025/06/01|東京11R|単勝|3.0|1,000|不的中|0|-1,000|1,000"_s);
        QCOMPARE(rows[2].texts.join(u'|'), u"2025/06/01||3連単|4.0|1,700|的中|6,800|5,100|0"_s);
        QCOMPARE(RaceLogCsv(races),
                 "\xEF\xBB\xBF"
                 "日付,レース,券種,倍率,投資額,結果,払戻額,収支,損失累計\r\n"
                 "2025/06/01,東京11R,単勝,3.0,1000,不的中,0,-1000,1000\r\n"
                 "2025/06/01,\"中山,\"\"12R\"\"\",単勝,2.5,2000,不的中,0,-2000,3000\r\n"
                 "2025/06/01,,3連単,4.0,1700,的中,6800,5100,0\r\n"_ba);
        // Under a German locale the table shows its own decimal point; the
        // file keeps plain numbers.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(RaceRows(races)[0].texts[OddsColumn], u"3,0"_s);
        QVERIFY(RaceLogCsv(races).contains(",3.0,1000,"));
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    }

    // The ticket types, their payout rates and the results, in the order the
    // window lists them, each found again by its name.
    void names() {
        QStringList tickets;
        for (int i = 0; i < TicketTypes; ++i) {
            tickets.append(TicketName(TicketType(i)) + u' ' + PayoutRateText(TicketType(i)));
            QCOMPARE(TicketNamed(TicketName(TicketType(i))), TicketType(i));
        }
        QCOMPARE(tickets.join(u", "_s),
                 u"単勝 80%, 複勝 80%, 枠連 77.5%, 馬連 77.5%, ワイド 77.5%, "
                 u"馬単 75%, 3連複 75%, 3連単 72.5%, WIN5 70%"_s);
        QCOMPARE(TicketNamed(u"三連単"_s), std::nullopt);
        for (RaceResult result : {RaceResult::Pending, RaceResult::Hit, RaceResult::Miss})
            QCOMPARE(ResultNamed(ResultName(result)), result);
        QCOMPARE(ResultName(RaceResult::Miss), u"不的中"_s);
    }
};

QTEST_APPLESS_MAIN(TestRace)
#include "tst_race.moc"
