#pragma once

#include "core/Amount.h"
#include "core/NumberText.h"

#include <QString>

// What the program answers a bad input or a calculation that cannot be done
// with: each text named once, for every window that has the same rule.
namespace morvex::message {

using namespace Qt::StringLiterals;

// A bad input, shown under the caption of its field.
inline const QString NotANumber = u"数値を入力して下さい。"_s;
inline const QString Below100Yen = u"１００円以上を設定して下さい。"_s;
inline const QString OddsNotAboveOne = u"1.0倍より大きい値を設定して下さい。"_s;

// A bad input where the main window has no such rule: the race record's.
inline const QString OneDecimalAtMost = u"小数点以下1桁までの値を設定して下さい。"_s;
inline const QString Not100YenSteps = u"１００円単位で設定して下さい。"_s;
inline const QString NotWholeYen = u"１円単位で設定して下さい。"_s;
inline const QString BelowZeroYen = u"０円以上を設定して下さい。"_s;
inline const QString CoefficientOutOfRange = u"1.0以上2.0以下の値を設定して下さい。"_s;
inline const QString NameTooLong = u"40文字以内で入力して下さい。"_s;
inline const QString NotADate = u"日付を 2026/12/08 のように入力して下さい。"_s;

// A figure above the most whole yen an amount holds, in a unit ("円", "倍"):
// "922,337,203,685,477円以下を設定して下さい。" in the user's locale.
inline QString AtMostLargest(const QString &unit) {
    return FormatAmount(MostWholeYen) + unit + u"以下を設定して下さい。"_s;
}

// An amount beyond what the program holds.
inline const QString OverflowTitle = u"オーバーフロー"_s;
inline const QString OverflowText =
    u"金額が大きくなり過ぎて計算不能です。\r\n"
    u"開始金額を下げるか倍率を上げるか連敗数を下げるかしてくだされ。"_s;

} // namespace morvex::message
