#pragma once

#include "ui/LoadedWindows.h"
#include "ui/Twips.h"

#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace morvex {

namespace settings {
class Store;
class Transaction;
} // namespace settings

// Base of the program's windows, and the protocol they share. Each window
// class has at most one loaded window at a time. Loading one (load<W>())
// builds its controls, joins it to the list of loaded windows, restores its
// position from its settings section and runs its Form_Load, all before it
// is first shown. Closing it, whatever closes it, saves its position, runs
// its Form_Unload once, takes it off the list and deletes it (once no nested
// event loop runs, see LoadedWindows); the next use loads a new one.
//
// Enter presses the focused button, or else the default button; Esc presses
// the cancel button. A window without those roles ignores the keys.
class Form : public QWidget {
    Q_OBJECT
public:
    enum class Frame { Sizable, FixedDialog };

    // What a window is: its name, caption, client size (twips) and frame,
    // and the settings section that keeps its position, with the default
    // for both edges (twips).
    struct Design {
        QString name;
        QString caption;
        int clientWidth;
        int clientHeight;
        Frame frame;
        QString section;
        int defaultPosition;
    };

    QString formName() const { return objectName(); }

    // The loaded window of class W, or nullptr.
    template <typename W> static W *loaded() {
        for (Form *form : LoadedWindows::forms())
            if (auto *window = qobject_cast<W *>(form))
                return window;
        return nullptr;
    }

    // The loaded window of class W, loading one first when there is none.
    template <typename W> static W *load() {
        if (W *window = loaded<W>())
            return window;
        W *window = new W;
        window->runLoad();
        return window;
    }

    // Shows the window, not minimised, in front of the others, and gives it
    // the focus.
    void bringToFront();

protected:
    explicit Form(const Design &design);
    ~Form() override;

    // What is particular to a window when it loads (after its position has
    // been restored) and when it unloads (after its position has been put
    // into `save`).
    virtual void Form_Load(const settings::Store &) {}
    virtual void Form_Unload(settings::Transaction &) {}

    void setDefaultButton(QPushButton *button);
    void setCancelButton(QPushButton *button);

    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void runLoad();

    QString section_;
    int defaultPosition_;
    QPointer<QPushButton> defaultButton_;
    QPointer<QPushButton> cancelButton_;
};

} // namespace morvex
