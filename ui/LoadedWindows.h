#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QWidget;

namespace morvex {

class Form;

// The program's loaded windows in the order they were loaded. A window joins
// when it loads and leaves when it unloads; when the last one leaves the
// program has nothing left to do and allUnloaded() is emitted. A loaded
// window keeps the program alive whether it is visible or not.
//
// A message box, a context menu and the modal version window each run an
// event loop of their own, nested inside the handler that opened them on the
// stack of a window. Every such loop runs through runNested(), so that no
// window is destroyed under one: a window that unloads meanwhile (a
// termination signal, a close box, the main window's unload closing it) is
// deleted once the outermost nested loop has returned. A window's unload
// first dismisses every nested loop, a message box as if answered OK, so that
// the handlers return and the program can end as a close at rest ends it.
class LoadedWindows : public QObject {
    Q_OBJECT
public:
    static LoadedWindows &instance();

    static void add(Form *form);
    static void remove(Form *form);
    static QList<Form *> forms();
    static QStringList names();

    // Takes a window that has unloaded (or one that is to go without
    // unloading) off the list, and deletes it when no nested loop runs.
    static void release(Form *form);

    // Runs `exec`, the event loop that shows `surface`, as a nested loop.
    static void runNested(QWidget *surface, const std::function<void()> &exec);

    // Closes the surface of every nested loop, the innermost first: a menu
    // goes away, a message box is answered OK, the version window closes.
    static void dismissNested();

signals:
    void allUnloaded();

protected:
    // A widget's context menu of its actions (Qt::ActionsContextMenu) is run
    // here, as a nested loop, instead of by the widget.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<Form *> forms_;
    QList<QPointer<QWidget>> nested_; // the surfaces, the innermost last
    QList<QPointer<Form>> released_;  // released under a nested loop
};

} // namespace morvex
