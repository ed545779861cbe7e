#include "ui/Form.h"

#include "settings/Store.h"
#include "ui/Fonts.h"
#include "ui/MessageBox.h"
#include "ui/ProgramIcon.h"
#include "ui/WindowPosition.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QShortcut>
#include <mutex>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

// Assistive technology hears of the main window as an application's frame
// and of the others as dialogs.
QAccessibleInterface *accessibleForm(const QString &, QObject *object) {
    auto *form = qobject_cast<Form *>(object);
    if (!form)
        return nullptr;
    const bool dialog = form->windowFlags().testFlag(Qt::Dialog);
    return new QAccessibleWidget(form, dialog ? QAccessible::Dialog : QAccessible::Window);
}

} // namespace

Form::Form(const Design &design)
    : section_(design.section), defaultPosition_(design.defaultPosition) {
    setObjectName(design.name);
    setWindowTitle(design.caption);
    setWindowIcon(programIcon());
    setFont(uiFont());
    static std::once_flag accessible;
    std::call_once(accessible, [] { QAccessible::installFactory(accessibleForm); });
    const QSize client = TwipsRect{0, 0, design.clientWidth, design.clientHeight}.pixels().size();
    if (design.frame == Frame::FixedDialog) {
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

void Form::runLoad() {
    const settings::Store store = settings::Store::read();
    restorePosition(this, store, section_, defaultPosition_);
    Form_Load(store);
}

void Form::bringToFront() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

// Enter presses the default button from any input. A closed drop-down list
// would otherwise take Enter for itself under some platform themes and open
// its popup; the shortcuts reach the window before any such handling does,
// and only while the list itself has the focus (not its open popup).
void Form::setDefaultButton(QPushButton *button) {
    defaultButton_ = button;
    button->setDefault(true);
    for (QComboBox *list : findChildren<QComboBox *>())
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
            connect(new QShortcut(key, list, nullptr, nullptr, Qt::WidgetShortcut),
                    &QShortcut::activated, button, &QPushButton::click);
}

void Form::setCancelButton(QPushButton *button) {
    cancelButton_ = button;
}

// A window unloads once, whatever closes it and however often. Any nested
// loop goes first, so that the handler that runs it can return. The window
// leaves the list of loaded windows only after the user has read any message
// about its settings: when it is the last one, leaving ends the program.
void Form::closeEvent(QCloseEvent *event) {
    event->accept();
    if (!LoadedWindows::forms().contains(this))
        return;
    LoadedWindows::dismissNested();
    settings::Transaction save;
    savePosition(this, save, section_);
    Form_Unload(save);
    const QString keptAside = save.commit();
    if (!keptAside.isEmpty())
        MsgBox(u"設定ファイルが壊れていたため、新しく保存し直しました。\r\n"
               u"元のファイルは %1 に残してあります。"_s.arg(keptAside));
    LoadedWindows::release(this);
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
