#pragma once

#include <QString>

// The sections and keys of the settings, and their defaults: the one list
// that the windows and the tests share.
namespace morvex::settings {

// Every window keeps its outer top-left corner, in twips, in its own section.
inline const QString MainWindow = QStringLiteral("MainWindow");
inline const QString AboutWindow = QStringLiteral("AboutWindow");
inline const QString UsageWindow = QStringLiteral("UsageWindow");
inline const QString TableWindow = QStringLiteral("TableWindow");
inline const QString WindowTop = QStringLiteral("WindowTop");
inline const QString WindowLeft = QStringLiteral("WindowLeft");
inline constexpr int MainWindowDefaultTwips = 1200;
inline constexpr int OtherWindowDefaultTwips = 1300;

// The main window's last inputs, stored as typed (the defeats as the index
// of the selected item).
inline const QString Condition = QStringLiteral("Condition");
inline const QString StartAmount = QStringLiteral("StartAmount");
inline const QString Odds = QStringLiteral("Odds");
inline const QString Defeats = QStringLiteral("Defeats");
inline const QString StartAmountDefault = QStringLiteral("1000");
inline const QString OddsDefault = QStringLiteral("3");
inline const QString DefeatsDefault = QStringLiteral("0");

} // namespace morvex::settings
