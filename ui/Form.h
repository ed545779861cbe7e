#pragma once

#include <QPointer>
#include <QWidget>

#include <QPushButton>

namespace morvex {

// Base of the program's windows. Constructing a window loads it: it joins
// the list of loaded windows and, in the derived constructor, builds its
// controls and runs its Form_Load. Closing it, whatever closes it, runs its
// Form_Unload once, takes it off the list and deletes it; the next use loads
// a new one.
//
// Enter presses the focused button, or else the default button; Esc presses
// the cancel button. A window without those roles ignores the keys.
class Form : public QWidget {
    Q_OBJECT
public:
    enum class Frame { Sizable, FixedDialog };

    QString formName() const { return objectName(); }

protected:
    Form(const QString &name, const QString &caption, int clientWidthTwips, int clientHeightTwips,
         Frame frame);
    ~Form() override;

    virtual void Form_Unload() {}

    void setDefaultButton(QPushButton *button);
    void setCancelButton(QPushButton *button);

    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPointer<QPushButton> defaultButton_;
    QPointer<QPushButton> cancelButton_;
    bool unloaded_ = false;
};

} // namespace morvex
