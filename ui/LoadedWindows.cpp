#include "ui/LoadedWindows.h"

#include "ui/Form.h"

namespace morvex {

LoadedWindows &LoadedWindows::instance() {
    static LoadedWindows list;
    return list;
}

void LoadedWindows::add(Form *form) {
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

} // namespace morvex
