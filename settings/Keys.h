#pragma once

#include <QString>

// The sections and keys of the settings, and their defaults: the one list
// that the windows and the tests share.
namespace morvex::settings {

using namespace Qt::StringLiterals;

// Every window keeps its outer top-left corner, in twips, in its own section.
inline const QString MainWindow = u"MainWindow"_s, AboutWindow = u"AboutWindow"_s,
                     UsageWindow = u"UsageWindow"_s, TableWindow = u"TableWindow"_s,
                     ChartWindow = u"ChartWindow"_s, RaceLogWindow = u"RaceLogWindow"_s;
inline const QString WindowTop = u"WindowTop"_s, WindowLeft = u"WindowLeft"_s;
inline constexpr int MainWindowDefaultTwips = 1200, OtherWindowDefaultTwips = 1300;

// The main window's last inputs, stored as typed (the defeats as the index
// of the selected item), and their defaults.
inline const QString Condition = u"Condition"_s;
inline const QString StartAmount = u"StartAmount"_s, StartAmountDefault = u"1000"_s;
inline const QString Odds = u"Odds"_s, OddsDefault = u"3"_s;
inline const QString Defeats = u"Defeats"_s, DefeatsDefault = u"0"_s;

// The money at hand that the chart window measures the plan against, in
// whole yen: the last one it drew.
inline const QString Bankroll = u"Bankroll"_s, BankrollDefault = u"100000"_s;
// The ticket type the chart estimates the chance of a hit for, by its name.
inline const QString Ticket = u"Ticket"_s, TicketDefault = u"単勝"_s;

// The race record's target profit (whole yen; none stored: the main
// window's start amount × (its odds − 1)) and coefficient, as last typed.
inline const QString TargetProfit = u"TargetProfit"_s;
inline const QString Coefficient = u"Coefficient"_s, CoefficientDefault = u"1.0"_s;

} // namespace morvex::settings
