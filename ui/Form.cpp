#include "ui/Form.h"

#include "core/Twips.h"
#include "ui/Fonts.h"
#include "ui/LoadedWindows.h"
#include "ui/ProgramIcon.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace morvex {

Form::Form(const QString &name, const QString &caption, int clientWidthTwips, int clientHeightTwips,
           Frame frame) {
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    setWindowIcon(programIcon());
    setFont(uiFont());
    const QSize client(twipsToPixels(clientWidthTwips), twipsToPixels(clientHeightTwips));
    if (frame == Frame::FixedDialog) {
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
        setFixedSize(client);
    } else {
        resize(client);
    }
    LoadedWindows::add(this);
}

Form::~Form() {
    LoadedWindows::remove(this);
}

void Form::setDefaultButton(QPushButton *button) {
    defaultButton_ = button;
    button->setDefault(true);
}

void Form::setCancelButton(QPushButton *button) {
    cancelButton_ = button;
}

void Form::closeEvent(QCloseEvent *event) {
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
        LoadedWindows::remove(this);
    }
    event->accept();
}

void Form::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget());
            focused && focused->isEnabled()) {
            focused->click();
            return;
        }
        if (defaultButton_ && defaultButton_->isEnabled()) {
            defaultButton_->click();
            return;
        }
        break;
    case Qt::Key_Escape:
        if (cancelButton_ && cancelButton_->isEnabled()) {
            cancelButton_->click();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

} // namespace morvex
