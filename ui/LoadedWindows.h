#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

namespace morvex {

class Form;

// The program's loaded windows in the order they were loaded. A window joins
// when it loads and leaves when it unloads; when the last one leaves the
// program has nothing left to do and allUnloaded() is emitted. A loaded
// window keeps the program alive whether it is visible or not.
class LoadedWindows : public QObject {
    Q_OBJECT
public:
    static LoadedWindows &instance();

    static void add(Form *form);
    static void remove(Form *form);
    static QList<Form *> forms();
    static QStringList names();

signals:
    void allUnloaded();

private:
    QList<Form *> forms_;
};

} // namespace morvex
