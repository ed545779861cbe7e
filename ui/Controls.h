#pragma once

#include "ui/Twips.h"

#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <initializer_list>

class QAction;
class QLineEdit;
class QPainter;

// Builders for the controls of the program's windows. Positions and sizes
// are twips relative to the parent, as the window layouts are drawn up; each
// control gets its name as objectName so that it can be found by name.
namespace morvex::controls {

// Places a new widget of type W on `parent`.
template <typename W> W *place(QWidget *parent, const QString &name, TwipsRect box) {
    auto *widget = new W(parent);
    widget->setObjectName(name);
    widget->setGeometry(box.pixels());
    return widget;
}

// A caption: left- and top-aligned plain text without a border; never takes
// focus. L may be a label class of a window's own.
template <typename L = QLabel>
L *label(QWidget *parent, const QString &name, const QString &text, TwipsRect box) {
    auto *caption = place<L>(parent, name, box);
    caption->setTextFormat(Qt::PlainText);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    caption->setText(text);
    return caption;
}

// A single line of text that is always shown whole: a text wider than its
// room is drawn condensed horizontally to fit, never cut off (a cut
// "12,345,678" would read as a smaller number), and its tooltip shows it at
// its natural width. A stale cell draws its text in the disabled colour,
// and says so to assistive technology: its description (what the figure
// is) ends in 「（未更新）」 then.
class Cell : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Limits the text to `pixels` from its left edge (0: the whole label).
    void setRoom(int pixels);
    // What the figure is, for assistive technology.
    void setCaption(const QString &caption);
    void setStale(bool stale);
    bool isStale() const { return stale_; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect textArea() const;
    bool isCondensed() const;

    int room_ = 0;
    bool stale_ = false;
    QString caption_;
};

// A bordered cell on the tooltip (info) background. Its accessible name is
// the text it shows; `caption` says what the figure is.
Cell *cell(QWidget *parent, const QString &name, const QString &text, TwipsRect box,
           Qt::Alignment alignment, const QString &caption = QString());

QPushButton *button(QWidget *parent, const QString &name, const QString &text, TwipsRect box);

// An action of the window, named `name`: an entry of its context menu
// (where the window shows its actions) and, with a shortcut, a key that
// triggers it while the window is active.
QAction *windowAction(QWidget *window, const QString &name, const QString &text,
                      const QKeySequence &shortcut = {});

// Draws a line of text in `box`, condensed horizontally when it is wider,
// so that a figure is never cut; the painter is left as it was.
void drawCondensed(QPainter &painter, const QRect &box, Qt::Alignment alignment,
                   const QString &text);

// Tab moves through these controls in this order.
void tabOrder(std::initializer_list<QWidget *> controls);

// Ctrl+C in these text boxes triggers `copy` while the box has no selection
// (a box keeps the keys for itself otherwise); a selection is copied as
// usual.
void copyFromBoxes(QAction *copy, std::initializer_list<QLineEdit *> boxes);

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
    Line(QWidget *parent, const QString &name, TwipsPoint from, TwipsPoint to, const QColor &color,
         int widthPixels = 1);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPoint from_, to_; // pixels, relative to this widget
    QColor color_;
    int width_;
};

} // namespace morvex::controls
