// The real windows on whatever the user might type: the text goes into the
// main window's boxes, a defeats item is picked, and the calculation button
// and the table button are pressed, as a user would. Checked on what the
// windows then show: at most one message per press; after a press without a
// message every field holds a whole amount, stakes and totals are whole
// hundreds with the total at least the stake, and each table row's profit is
// its payout less its total.
//
// Input: "<defeats>|<start amount>|<odds>" as for fuzz_calculation.
#include "FuzzCheck.h"

#include "app/Program.h"
#include "core/NumberText.h"
#include "ui/Form.h"
#include "ui/LoadedWindows.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace morvex;
using namespace morvex::fuzz;

namespace {

int messages = 0;

QWidget *loaded(const QString &name) {
    for (Form *form : LoadedWindows::forms())
        if (form->formName() == name)
            return form;
    return nullptr;
}

QString shown(QWidget *window, const QString &name) {
    return window->findChild<QLabel *>(name)->text();
}

bool isAmount(const QString &text) {
    static const QRegularExpression amount(u"^-?\\d{1,3}(,\\d{3})*$"_qs);
    return amount.match(text).hasMatch();
}

bool isHundreds(const QString &text) {
    return text == u"0"_qs || text.endsWith(u"00"_qs);
}

double number(const QString &text) {
    return ToNumber(text);
}

// One press of a button: the number of message boxes it showed.
int press(QWidget *window, const char *button) {
    const int before = messages;
    window->findChild<QPushButton *>(QLatin1String(button))->click();
    return messages - before;
}

void checkMainWindow(QWidget *main, const QString &input) {
    const QString stake = shown(main, u"lblInvestAmount"_qs);
    const QString total = shown(main, u"lblTotalAmount"_qs);
    for (const char *field : {"lblInvestAmount", "lblTotalAmount", "lblRecovery", "lblProfit"})
        FUZZ_REQUIRE(isAmount(shown(main, QLatin1String(field))),
                     "main window: fields hold whole amounts", input);
    FUZZ_REQUIRE(isHundreds(stake) && isHundreds(total),
                 "main window: stake and total are whole hundreds", input);
    FUZZ_REQUIRE(number(total) >= number(stake), "main window: total at least the stake", input);
}

void checkTable(QWidget *table, const QString &input) {
    for (int row = 0; row < 10; ++row) {
        auto cell = [&](const char *column) {
            return shown(table, QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(row));
        };
        const QString stake = cell("lblInvest"), total = cell("lblTotal");
        const QString payout = cell("lblRecovery"), profit = cell("lblProfit");
        FUZZ_REQUIRE(isAmount(stake) && isAmount(total) && isAmount(payout) && isAmount(profit),
                     "table: cells hold whole amounts", input);
        FUZZ_REQUIRE(isHundreds(stake) && isHundreds(total),
                     "table: stakes and totals are whole hundreds", input);
        FUZZ_REQUIRE(number(total) >= number(stake), "table: total at least the stake", input);
        // The profit is worked out from the two texts shown beside it.
        FUZZ_REQUIRE(number(profit) == number(payout) - number(total) ||
                         std::fabs(number(payout)) >= 0x1p53,
                     "table: profit is payout less total", input);
    }
}

} // namespace

// Fontconfig keeps memory it no longer points to once it has matched a font;
// that is the system's, not ours.
extern "C" const char *__lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    static QTemporaryDir config; // never the user's settings
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    useJapaneseLocale();
    setMessageBoxHook([](QMessageBox &) { ++messages; });
    startProgram();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype first = bytes.indexOf('|');
    const qsizetype second = first < 0 ? -1 : bytes.indexOf('|', first + 1);
    if (second < 0)
        return 0;
    const QByteArray defeats = bytes.left(first);
    int index = -1;
    if (!defeats.startsWith('-')) {
        index = 0;
        for (char c : defeats.left(4))
            if (c >= '0' && c <= '9')
                index = index * 10 + (c - '0');
        index %= 20;
    }
    const QString start = QString::fromUtf8(bytes.mid(first + 1, second - first - 1));
    const QString odds = QString::fromUtf8(bytes.mid(second + 1));
    const QString input =
        describe(start) + u" / "_qs + describe(odds) + u" / "_qs + QString::number(index);

    QWidget *main = loaded(u"frmMain"_qs);
    main->findChild<QLineEdit *>(u"txtStartAmount"_qs)->setText(start);
    main->findChild<QLineEdit *>(u"txtOdds"_qs)->setText(odds);
    main->findChild<QComboBox *>(u"cmbDefeats"_qs)->setCurrentIndex(index);

    const int calculationMessages = press(main, "btnCalcAmount");
    FUZZ_REQUIRE(calculationMessages <= 1, "calculation: at most one message", input);
    if (calculationMessages == 0)
        checkMainWindow(main, input);

    const bool wasOpen = loaded(u"frmInvestTable"_qs) != nullptr;
    const int tableMessages = press(main, "btnTable");
    FUZZ_REQUIRE(tableMessages <= 1, "table: at most one message", input);
    QWidget *table = loaded(u"frmInvestTable"_qs);
    if (tableMessages == 0) {
        FUZZ_REQUIRE(table && table->isVisible(), "table: shown after a press without message",
                     input);
        checkTable(table, input);
    } else if (!wasOpen) {
        FUZZ_REQUIRE(!table, "table: a failed first fill leaves no window loaded", input);
    }
    return 0;
}
