// Reading the user's numbers in the Japanese locale the program was made for
// and in others, the texts of amounts and singles, exact differences of
// amount texts, and the conversions to the narrower types.
#include "core/Conversions.h"
#include "core/NumberText.h"
#include "core/RuntimeError.h"
#include "tests/TestData.h"
#include "tests/core/ErrorOf.h"

#include <QLocale>
#include <QTest>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

using namespace morvex;
using namespace morvex::test;

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void reading_data() {
        addRowsFrom("core/readings.txt");
        QTest::newRow("very long fraction") << QStringList{
            u"ja_JP"_s, u"0."_s + QString(5000, u'3'), QString::number(1.0 / 3, 'g', 17)};
    }

    void reading() {
        const auto [locale, text, number] = cells<3>();
        QLocale::setDefault(QLocale(locale));
        const bool numeric = number != u"no"_s;
        QCOMPARE(IsNumeric(text), numeric);
        double read = 0;
        QCOMPARE(errorOf([&] { read = ToNumber(text); }), numeric ? 0 : int(TypeMismatch));
        if (numeric)
            QCOMPARE(read, number.toDouble());
    }

    // The exact reading scaled by a power of ten: where a text of the
    // readings above is a number, it gives that number scaled when the
    // result is whole, and nothing otherwise; further rows of its own.
    void scaled_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("places");
        QTest::addColumn<QString>("scaled");
        for (const QStringList &row : rowsOf("core/readings.txt"))
            for (int places : {0, 1, 2}) {
                const double value = row[3].toDouble() * std::pow(10, places);
                QTest::addRow("%s at %d", qPrintable(row[0]), places)
                    << row[1] << row[2] << places
                    << (row[3] == u"no"_s || value != std::floor(value)
                            ? u"no"_s
                            : QString::number(value, 'f', 0));
            }
        for (const QStringList &row : rowsOf("core/scaled.txt"))
            QTest::newRow(qPrintable(row[0])) << row[1] << row[2] << row[3].toInt() << row[4];
    }

    void scaled() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(int, places);
        QFETCH(QString, scaled);
        QLocale::setDefault(QLocale(locale));
        const std::optional<std::int64_t> read = ToScaledInteger(text, places);
        QCOMPARE(read ? QString::number(*read) : u"no"_s, scaled);
    }

    void amountDifference_data() { addRowsFrom("core/differences.txt"); }

    void amountDifference() {
        const auto [minuend, subtrahend, difference] = cells<3>();
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        QString result = u"no"_s;
        QCOMPARE(errorOf([&] { result = AmountDifference(minuend, subtrahend); }),
                 difference == u"no"_s ? int(TypeMismatch) : 0);
        QCOMPARE(result, difference);
    }

    void conversions_data() { addRowsFrom("core/conversions.txt"); }

    // Nearest integer, ties to even, or Overflow beyond the range. (What a
    // call that raised left in its target is not read.)
    void conversions() {
        const auto [value, int32, int16] = cells<3>();
        std::int32_t result32 = 0;
        std::int16_t result16 = 0;
        QCOMPARE(errorOf([&] { result32 = ToInt32(value.toDouble()); }),
                 int32 == u"overflow"_s ? int(Overflow) : 0);
        QCOMPARE(errorOf([&] { result16 = ToInt16(value.toDouble()); }),
                 int16 == u"overflow"_s ? int(Overflow) : 0);
        QCOMPARE(int32 == u"overflow"_s ? int32 : QString::number(result32), int32);
        QCOMPARE(int16 == u"overflow"_s ? int16 : QString::number(result16), int16);
    }

    void formats_data() { addRowsFrom("core/formats.txt"); }

    void formats() {
        const auto [kind, value, text] = cells<3>();
        for (const char *locale : {"ja_JP", "de_DE"}) {
            QLocale::setDefault(QLocale(QLatin1String(locale)));
            QString shown = kind == u"double"_s ? FormatAmount(value.toDouble())
                            : kind == u"amount"_s
                                ? FormatAmount(Amount::fromRaw(value.toLongLong()))
                                : SingleText(value.toFloat());
            if (*locale == 'd') // the German locale swaps the separators
                shown.replace(u'.', u'#').replace(u',', u'.').replace(u'#', u',');
            QCOMPARE(shown, text);
        }
    }

    void toSingle() {
        QCOMPARE(ToSingle(0x1.ffffffp+127 - 0x1p+75), std::numeric_limits<float>::max());
        QCOMPARE(ToSingle(0x1.ffffffp+127), std::numeric_limits<float>::infinity());
        QCOMPARE(ToSingle(-0x1.ffffffp+127), -std::numeric_limits<float>::infinity());
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
