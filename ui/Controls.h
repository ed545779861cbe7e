#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

// Builders for the controls of the program's windows. Positions and sizes
// are twips relative to the parent, as the window layouts are drawn up; each
// control gets its name as objectName so that it can be found by name.
namespace morvex::controls {

QRect twipsRect(int left, int top, int width, int height);

// A control's box as a window's layout gives it: left, top, width, height in
// twips (converted when the control is placed).
inline QRect at(int left, int top, int width, int height) {
    return QRect(left, top, width, height);
}

// Places a new widget of type W on `parent`.
template <typename W> W *place(QWidget *parent, const QString &name, QRect twips) {
    auto *widget = new W(parent);
    widget->setObjectName(name);
    widget->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return widget;
}

// A caption: left- and top-aligned plain text without a border; never takes
// focus. L may be a label class of a window's own.
template <typename L = QLabel>
L *label(QWidget *parent, const QString &name, const QString &text, QRect twips) {
    auto *caption = place<L>(parent, name, twips);
    caption->setTextFormat(Qt::PlainText);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    caption->setText(text);
    return caption;
}

// A bordered cell on the tooltip (info) background. Its accessible name is
// the text it shows; `caption` says what the figure is. A figure too wide
// for the cell is drawn cut with an ellipsis, never silently clipped (a
// clipped "12,345,678" would read as a smaller number), and its tooltip
// shows it whole.
QLabel *cell(QWidget *parent, const QString &name, const QString &text, QRect twips,
             Qt::Alignment alignment, const QString &caption = QString());

QPushButton *button(QWidget *parent, const QString &name, const QString &text, QRect twips);

class Cell : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // True when the text does not fit and is drawn shortened.
    bool isCut() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect textArea() const;
};

// A push button whose caption wraps onto several centred lines when it is
// wider than the button, as a tall button's caption does.
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A straight line drawn between two points of its parent (twips).
class Line : public QWidget {
    Q_OBJECT
public:
    Line(QWidget *parent, const QString &name, QPoint fromTwips, QPoint toTwips,
         const QColor &color, int widthPixels = 1);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPoint from_, to_; // pixels, relative to this widget
    QColor color_;
    int width_;
};

} // namespace morvex::controls
