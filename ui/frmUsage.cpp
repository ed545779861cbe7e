#include "ui/frmUsage.h"

#include "settings/Keys.h"
#include "ui/Controls.h"
#include "ui/Fonts.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

// A line of help text, in the monospaced font so that the full-width spaces
// of the glossary line its colons up. Positions are relative to the frame.
QLabel *helpLine(QGroupBox *frame, const QString &name, const QString &text, TwipsRect box) {
    QLabel *line = controls::label(frame, name, text, box);
    line->setFont(monospaceFont());
    return line;
}

} // namespace

frmUsage::frmUsage()
    : Form({u"frmUsage"_s, u"Morvexの使い方"_s, 6060, 6210, Frame::FixedDialog,
            settings::UsageWindow, settings::OtherWindowDefaultTwips}) {
    using namespace controls;

    Frame1 = place<QGroupBox>(this, u"Frame1"_s, {240, 120, 5655, 2655});
    Frame1->setTitle(u"使い方"_s);
    Label1 =
        helpLine(Frame1, u"Label1"_s, u"開始金額，倍率，連敗数を設定して"_s, {240, 360, 3975, 255});
    Label2 = helpLine(Frame1, u"Label2"_s, u"[今回投資額算出]ボタンを押すだけです。"_s,
                      {240, 720, 3495, 255});
    Label3 = helpLine(Frame1, u"Label3"_s, u"あとは今回投資額分の馬券を買うだけです。 Good Luck!"_s,
                      {240, 1080, 4815, 255});
    Label4 = helpLine(Frame1, u"Label4"_s,
                      u"なお、いかなる損害が出ようとも作者は一切責任を負いません。"_s,
                      {240, 1440, 5295, 255});
    Label12 = helpLine(Frame1, u"Label12"_s,
                       u"個人的には配当3倍のﾜｲﾄﾞなら10ﾚｰｽ以内に当たると思いますが"_s,
                       {240, 1800, 5295, 255});
    Label13 = helpLine(Frame1, u"Label13"_s, u"運悪く10連敗しないとは限りまへん。"_s,
                       {240, 2160, 5295, 255});

    Frame2 = place<QGroupBox>(this, u"Frame2"_s, {240, 3000, 5655, 2535});
    Frame2->setTitle(u"用語の説明"_s);
    Label5 =
        helpLine(Frame2, u"Label5"_s, u"開始金額　　：投資の基本金額（通常１ﾚｰｽに使う位の額）"_s,
                 {360, 360, 4935, 255});
    Label6 = helpLine(Frame2, u"Label6"_s, u"倍率　　　　：10ﾚｰｽ以内に当てる自信のあるオッズ"_s,
                      {360, 600, 4455, 255});
    Label7 = helpLine(Frame2, u"Label7"_s, u"連敗数　　　：何連敗中か、的中直後は０"_s,
                      {360, 840, 4455, 255});
    Label14 = helpLine(Frame2, u"Label14"_s, u"上昇率　　　：不的中時の投資額の追い上げ率"_s,
                       {360, 1080, 4455, 255});
    Label8 =
        helpLine(Frame2, u"Label8"_s, u"今回投資額　：今回の投資金額"_s, {360, 1440, 4455, 255});
    Label9 = helpLine(Frame2, u"Label9"_s, u"累計投資額　：今回までの投資金額合計"_s,
                      {360, 1680, 4455, 255});
    Label10 = helpLine(Frame2, u"Label10"_s, u"的中時回収額：今回の投資が成功した場合の払戻金額"_s,
                       {360, 1920, 4455, 255});
    Label11 = helpLine(Frame2, u"Label11"_s, u"的中時利益　：的中時回収額－累計投資額"_s,
                       {360, 2160, 4455, 255});

    // Neither default nor cancel: Esc leaves the window open, Enter presses
    // the button because it is the one control that takes the focus.
    OKButton = button(this, u"OKButton"_s, u"OK"_s, {4560, 5760, 1215, 375});
    OKButton->setFocus();
    connect(OKButton, &QPushButton::clicked, this, &frmUsage::OKButton_Click);
}

void frmUsage::OKButton_Click() {
    close();
}

} // namespace morvex
