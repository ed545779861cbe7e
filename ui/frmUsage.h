#pragma once

#include "ui/Form.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace morvex {

// The usage window: a few lines on how to use the program and a glossary of
// the figures the main window shows. Modeless; one at a time.
class frmUsage : public Form {
    Q_OBJECT
public:
    frmUsage();

private:
    void OKButton_Click();

    // In the order of the window's layout.
    QGroupBox *Frame1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QLabel *Label12;
    QLabel *Label13;
    QGroupBox *Frame2;
    QLabel *Label5;
    QLabel *Label6;
    QLabel *Label7;
    QLabel *Label14;
    QLabel *Label8;
    QLabel *Label9;
    QLabel *Label10;
    QLabel *Label11;
    QPushButton *OKButton;
};

} // namespace morvex
