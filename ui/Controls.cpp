#include "ui/Controls.h"

#include "core/Twips.h"

#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QToolTip>

namespace morvex::controls {

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

QLabel *cell(QWidget *parent, const QString &name, const QString &text, QRect twips,
             Qt::Alignment alignment, const QString &caption) {
    auto *field = place<Cell>(parent, name, twips);
    field->setText(text);
    field->setTextFormat(Qt::PlainText);
    field->setAlignment(alignment | Qt::AlignVCenter);
    field->setFrameStyle(QFrame::Box | QFrame::Plain);
    field->setLineWidth(1);
    field->setIndent(2);
    field->setAutoFillBackground(true);
    field->setBackgroundRole(QPalette::ToolTipBase);
    field->setForegroundRole(QPalette::ToolTipText);
    if (!caption.isEmpty())
        field->setAccessibleDescription(caption);
    return field;
}

// Where QLabel puts the text: the indent is kept on the aligned side.
QRect Cell::textArea() const {
    const QRect area = contentsRect();
    if (alignment() & Qt::AlignRight)
        return area.adjusted(0, 0, -indent(), 0);
    if (alignment() & Qt::AlignHCenter)
        return area;
    return area.adjusted(indent(), 0, 0, 0);
}

bool Cell::isCut() const {
    return fontMetrics().horizontalAdvance(text()) > textArea().width();
}

bool Cell::event(QEvent *event) {
    if (event->type() == QEvent::ToolTip) {
        if (isCut())
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void Cell::paintEvent(QPaintEvent *event) {
    if (!isCut()) {
        QLabel::paintEvent(event);
        return;
    }
    QFrame::paintEvent(event); // the border
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const Qt::TextElideMode cutAt = alignment() & Qt::AlignRight ? Qt::ElideLeft : Qt::ElideRight;
    const QRect area = textArea();
    painter.drawText(area, int(alignment()), fontMetrics().elidedText(text(), cutAt, area.width()));
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text, QRect twips) {
    auto *pushButton = place<QPushButton>(parent, name, twips);
    pushButton->setText(text);
    return pushButton;
}

void WrappingButton::paintEvent(QPaintEvent *) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, text());
}

Line::Line(QWidget *parent, const QString &name, QPoint fromTwips, QPoint toTwips,
           const QColor &color, int widthPixels)
    : QWidget(parent), color_(color), width_(widthPixels) {
    setObjectName(name);
    const QPoint from(twipsToPixels(fromTwips.x()), twipsToPixels(fromTwips.y()));
    const QPoint to(twipsToPixels(toTwips.x()), twipsToPixels(toTwips.y()));
    const QRect box = QRect(from, to).normalized().adjusted(0, 0, widthPixels, widthPixels);
    setGeometry(box);
    from_ = from - box.topLeft();
    to_ = to - box.topLeft();
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void Line::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    // Square caps on integer pixels: a width-w line covers w whole pixel rows.
    painter.fillRect(QRect(from_, to_).normalized().adjusted(0, 0, width_ - 1, width_ - 1), color_);
}

} // namespace morvex::controls
