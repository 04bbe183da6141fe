#pragma once

#include "ui/FixedDialog.h"

class QFrame;
class QLabel;

// The about window: the game's name, version, credits and an "Ок!" button.
class FrmAbout : public FixedDialog
{
    Q_OBJECT

public:
    explicit FrmAbout(QWidget *parent = nullptr);

private:
    QPushButton *CmdClose = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Image1 = nullptr;
    QFrame *Line1 = nullptr;
};
