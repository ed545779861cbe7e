#include "ui/frmAbout.h"

#include "core/Version.h"
#include "settings/Keys.h"
#include "ui/Controls.h"
#include "ui/ProgramIcon.h"

#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

// Widens a read-only box, never narrows it, so that its whole text shows:
// the address is the one thing a user wants to read off this window. It
// stops short of `rightLimit` (pixels, in the parent).
void widenToText(QLineEdit *box, int rightLimit) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    const QMargins margins = box->textMargins();
    constexpr int BoxMargin = 2; // the line edit's own margin at either side
    constexpr int Cursor = 1;
    const int content = box->fontMetrics().horizontalAdvance(box->text()) + margins.left() +
                        margins.right() + 2 * BoxMargin + Cursor;
    const int needed =
        box->style()
            ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(content, box->height()), box)
            .width();
    const int widest = std::max(box->width(), rightLimit - box->x());
    box->resize(std::clamp(needed, box->width(), widest), box->height());
}

} // namespace

frmAbout::frmAbout()
    : Form({u"frmAbout"_s, u"ﾊﾞｰｼﾞｮﾝ情報"_s, 5430, 3720, Frame::FixedDialog, settings::AboutWindow,
            settings::OtherWindowDefaultTwips}) {
    using namespace controls;
    // Set before the first show: a visible window does not change modality.
    setWindowModality(Qt::ApplicationModal);

    picIcon = place<QLabel>(this, u"picIcon"_s, {240, 240, 540, 540});
    picIcon->setPixmap(programIcon().pixmap(QSize(32, 32)));
    picIcon->setAlignment(Qt::AlignCenter);
    lblTitle = label(this, u"lblTitle"_s, u"Morvex For Windows98"_s, {1050, 240, 2085, 360});
    lblVersion = label(this, u"lblVersion"_s, u"Ver. 0.01"_s, {3240, 240, 1215, 255});
    llblCopyRight = label(this, u"llblCopyRight"_s, u"Copyright (C) 2026 Morvex project"_s,
                          {1080, 720, 4365, 345});

    // A plain rectangle around the two description lines: only its border
    // is drawn, below the labels, and it lets the mouse through.
    Shape1 = place<QFrame>(this, u"Shape1"_s, {840, 1200, 4215, 1095});
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape1->setLineWidth(1);
    Shape1->setAutoFillBackground(false);
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Shape1->setFocusPolicy(Qt::NoFocus);
    lblDescription =
        label(this, u"lblDescription"_s, u"例えば３倍の配当の馬券を、１０回以内に当てる"_s,
              {1080, 1440, 4245, 330});
    Label2 =
        label(this, u"Label2"_s, u"自信があれば確実に利益が出せます。"_s, {1080, 1800, 3375, 375});
    Shape1->lower();

    // An etched separator: a grey line with a white one just below it.
    Line1[1] = new Line(this, u"Line1_1"_s, {90, 2445}, {5654, 2445}, QColor(128, 128, 128), 1);
    Line1[0] = new Line(this, u"Line1_0"_s, {105, 2460}, {5654, 2460}, QColor(255, 255, 255), 2);

    lblDisclaimer =
        label(this, u"lblDisclaimer"_s, u"このソフトはフリーソフトなのでコピー等ご自由にどうぞ～"_s,
              {255, 2625, 4590, 345});
    Label1 = label(this, u"Label1"_s, u"E-Mail"_s, {240, 3195, 735, 255});

    // Read-only, so that the address can still be selected and copied.
    Text1 = place<QLineEdit>(this, u"Text1"_s, {1080, 3120, 1335, 362});
    Text1->setText(u"morvex@example.com"_s);
    Text1->setReadOnly(true);
    QPalette buttonFace = Text1->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        buttonFace.setColor(group, QPalette::Base, buttonFace.color(group, QPalette::Button));
    Text1->setPalette(buttonFace);
    Text1->setCursorPosition(0);
    Label1->setBuddy(Text1); // screen readers name the box "E-Mail"

    cmdOK = button(this, u"cmdOK"_s, u"OK"_s, {3960, 3240, 1140, 345});
    widenToText(Text1, cmdOK->x() - twipsToPixels(120));
    setDefaultButton(cmdOK);
    setCancelButton(cmdOK);
    // The button and the address box are the only controls that take the
    // focus; the button has it when the window opens.
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

void frmAbout::showModal() {
    frmAbout *about = load<frmAbout>();
    QEventLoop loop;
    connect(about, &frmAbout::unloaded, &loop, &QEventLoop::quit);
    about->bringToFront();
    // Not QDialog::exec: the window must go through its close event (and so
    // through Form_Unload) however it is closed.
    if (loaded<frmAbout>() == about)
        LoadedWindows::runNested(about, [&] { loop.exec(QEventLoop::DialogExec); });
}

void frmAbout::Form_Load(const settings::Store &) {
    setWindowTitle(QString::fromUtf8(ApplicationTitle) + u"のﾊﾞｰｼﾞｮﾝ情報"_s);
    lblVersion->setText(
        u"Version %1.%2.%3"_s.arg(VersionMajor).arg(VersionMinor).arg(VersionRevision));
}

void frmAbout::Form_Unload(settings::Transaction &) {
    emit unloaded();
}

void frmAbout::cmdOK_Click() {
    close();
}

} // namespace morvex
