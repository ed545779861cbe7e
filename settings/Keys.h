#pragma once

#include <QString>

// The sections and keys of the settings, and their defaults: the one list
// that the windows and the tests share.
namespace morvex::settings {

// Every window keeps its outer top-left corner, in twips, in its own section.
inline const QString MainWindow = u"MainWindow"_qs, AboutWindow = u"AboutWindow"_qs,
                     UsageWindow = u"UsageWindow"_qs, TableWindow = u"TableWindow"_qs;
inline const QString WindowTop = u"WindowTop"_qs, WindowLeft = u"WindowLeft"_qs;
inline constexpr int MainWindowDefaultTwips = 1200, OtherWindowDefaultTwips = 1300;

// The main window's last inputs, stored as typed (the defeats as the index
// of the selected item), and their defaults.
inline const QString Condition = u"Condition"_qs;
inline const QString StartAmount = u"StartAmount"_qs, StartAmountDefault = u"1000"_qs;
inline const QString Odds = u"Odds"_qs, OddsDefault = u"3"_qs;
inline const QString Defeats = u"Defeats"_qs, DefeatsDefault = u"0"_qs;

} // namespace morvex::settings
