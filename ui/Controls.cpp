#include "ui/Controls.h"

#include <QAccessible>
#include <QAction>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QToolTip>

namespace morvex::controls {

Cell *cell(QWidget *parent, const QString &name, const QString &text, TwipsRect box,
           Qt::Alignment alignment, const QString &caption) {
    auto *field = place<Cell>(parent, name, box);
    field->setText(text);
    field->setTextFormat(Qt::PlainText);
    field->setAlignment(alignment | Qt::AlignVCenter);
    field->setFrameStyle(QFrame::Box | QFrame::Plain); // one pixel wide
    field->setIndent(2);
    field->setAutoFillBackground(true);
    field->setBackgroundRole(QPalette::ToolTipBase);
    field->setForegroundRole(QPalette::ToolTipText);
    field->setCaption(caption);
    return field;
}

void Cell::setRoom(int pixels) {
    room_ = pixels;
    update();
}

void Cell::setCaption(const QString &caption) {
    caption_ = caption;
    setAccessibleDescription(caption_ + (stale_ ? QStringLiteral("（未更新）") : QString()));
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

// A screen reader hears of the change as it happens (the description's
// change is announced).
void Cell::setStale(bool stale) {
    if (stale == stale_)
        return;
    stale_ = stale;
    setCaption(caption_);
    update();
}

// Where QLabel puts the text: the indent is kept on the aligned side.
QRect Cell::textArea() const {
    QRect area = contentsRect();
    if (alignment() & Qt::AlignRight)
        area.adjust(0, 0, -indent(), 0);
    else if (!(alignment() & Qt::AlignHCenter) && indent() > 0)
        area.adjust(indent(), 0, 0, 0);
    if (room_ > 0)
        area.setWidth(std::min(area.width(), room_));
    return area;
}

bool Cell::isCondensed() const {
    return fontMetrics().horizontalAdvance(text()) > textArea().width();
}

bool Cell::event(QEvent *event) {
    if (event->type() == QEvent::ToolTip) {
        if (isCondensed())
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void Cell::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    drawFrame(&painter);
    painter.setPen(stale_ ? palette().color(QPalette::Disabled, QPalette::WindowText)
                          : palette().color(foregroundRole()));
    drawCondensed(painter, textArea(), alignment(), text());
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text, TwipsRect box) {
    auto *pushButton = place<QPushButton>(parent, name, box);
    pushButton->setText(text);
    return pushButton;
}

QAction *windowAction(QWidget *window, const QString &name, const QString &text,
                      const QKeySequence &shortcut) {
    auto *action = new QAction(text, window);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    return action;
}

void drawCondensed(QPainter &painter, const QRect &box, Qt::Alignment alignment,
                   const QString &text) {
    const int natural = painter.fontMetrics().horizontalAdvance(text);
    if (natural <= box.width()) {
        painter.drawText(box, int(alignment) | Qt::TextSingleLine, text);
        return;
    }
    painter.save();
    painter.translate(box.left(), 0);
    painter.scale(double(box.width()) / natural, 1.0);
    painter.drawText(QRect(0, box.top(), natural, box.height()),
                     int(alignment) | Qt::TextSingleLine, text);
    painter.restore();
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

namespace {

class BoxCopy : public QObject {
public:
    explicit BoxCopy(QAction *copy) : QObject(copy), copy_(copy) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        const auto *box = qobject_cast<QLineEdit *>(watched);
        if (box && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy) &&
            !box->hasSelectedText()) {
            copy_->trigger();
            return true;
        }
        return false;
    }

private:
    QAction *copy_;
};

} // namespace

void tabOrder(std::initializer_list<QWidget *> controls) {
    for (auto next = controls.begin(); next + 1 != controls.end(); ++next)
        QWidget::setTabOrder(*next, *(next + 1));
}

void copyFromBoxes(QAction *copy, std::initializer_list<QLineEdit *> boxes) {
    auto *filter = new BoxCopy(copy);
    for (QLineEdit *box : boxes)
        box->installEventFilter(filter);
}

Line::Line(QWidget *parent, const QString &name, TwipsPoint fromTwips, TwipsPoint toTwips,
           const QColor &color, int widthPixels)
    : QWidget(parent), color_(color), width_(widthPixels) {
    setObjectName(name);
    const QPoint from = fromTwips.pixels();
    const QPoint to = toTwips.pixels();
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
