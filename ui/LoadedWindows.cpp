#include "ui/LoadedWindows.h"

#include "ui/Form.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>

namespace morvex {

LoadedWindows &LoadedWindows::instance() {
    static LoadedWindows list;
    return list;
}

void LoadedWindows::add(Form *form) {
    static const bool menus = (qApp->installEventFilter(&instance()), true);
    Q_UNUSED(menus);
    if (!instance().forms_.contains(form))
        instance().forms_.append(form);
}

void LoadedWindows::remove(Form *form) {
    LoadedWindows &list = instance();
    if (list.forms_.removeOne(form) && list.forms_.isEmpty())
        emit list.allUnloaded();
}

QList<Form *> LoadedWindows::forms() {
    return instance().forms_;
}

QStringList LoadedWindows::names() {
    QStringList names;
    for (const Form *form : instance().forms_)
        names.append(form->formName());
    return names;
}

void LoadedWindows::release(Form *form) {
    remove(form);
    if (instance().nested_.isEmpty())
        form->deleteLater();
    else
        instance().released_.append(form);
}

// The deletions wait for the outermost loop: posted from its caller, they
// run when that handler has returned to the program's main loop.
void LoadedWindows::runNested(QWidget *surface, const std::function<void()> &exec) {
    LoadedWindows &list = instance();
    list.nested_.append(surface);
    exec();
    list.nested_.removeLast();
    if (list.nested_.isEmpty())
        for (const QPointer<Form> &form : std::exchange(list.released_, {}))
            if (form)
                form->deleteLater();
}

void LoadedWindows::dismissNested() {
    const QList<QPointer<QWidget>> surfaces = instance().nested_;
    for (auto surface = surfaces.crbegin(); surface != surfaces.crend(); ++surface)
        if (*surface)
            (*surface)->close();
}

bool LoadedWindows::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::ContextMenu || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (widget->contextMenuPolicy() != Qt::ActionsContextMenu || widget->actions().isEmpty())
        return false;
    QMenu menu(widget);
    menu.addActions(widget->actions());
    runNested(&menu, [&] { menu.exec(static_cast<QContextMenuEvent *>(event)->globalPos()); });
    return true;
}

} // namespace morvex
