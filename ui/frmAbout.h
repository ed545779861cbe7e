#pragma once

#include "ui/Form.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace morvex {

namespace controls {
class Line;
} // namespace controls

// The version-information window: title, version, copyright, a short
// description and the author's address. Shown modally.
class frmAbout : public Form {
    Q_OBJECT
public:
    frmAbout();

    // Loads the window unless it is loaded already and shows it application
    // modal; returns once it has been closed, whatever closed it.
    static void showModal();

signals:
    // Emitted from Form_Unload.
    void unloaded();

protected:
    void Form_Load(const settings::Store &store) override;
    void Form_Unload(settings::Transaction &save) override;

private:
    void cmdOK_Click();

    // In the order of the window's layout.
    QLabel *picIcon;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *llblCopyRight;
    QFrame *Shape1;
    QLabel *lblDescription;
    QLabel *Label2;
    controls::Line *Line1[2];
    QLabel *lblDisclaimer;
    QLabel *Label1;
    QLineEdit *Text1;
    QPushButton *cmdOK;
};

} // namespace morvex
