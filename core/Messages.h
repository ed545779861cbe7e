#pragma once

#include <QString>

// What the program answers a bad input or a calculation that cannot be done
// with: each text named once, for every window that has the same rule.
namespace morvex::message {

using namespace Qt::StringLiterals;

// A bad input, shown under the caption of its field.
inline const QString NotANumber = u"数値を入力して下さい。"_s;
inline const QString Below100Yen = u"１００円以上を設定して下さい。"_s;
inline const QString OddsNotAboveOne = u"1.0倍より大きい値を設定して下さい。"_s;

// An amount beyond what the program holds.
inline const QString OverflowTitle = u"オーバーフロー"_s;
inline const QString OverflowText =
    u"金額が大きくなり過ぎて計算不能です。\r\n"
    u"開始金額を下げるか倍率を上げるか連敗数を下げるかしてくだされ。"_s;

} // namespace morvex::message
