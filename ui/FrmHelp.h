#pragma once

#include "ui/FixedDialog.h"

class QFrame;
class QLabel;

// The rules window: static text and an "Ok!" button that closes it.
class FrmHelp : public FixedDialog
{
    Q_OBJECT

public:
    explicit FrmHelp(QWidget *parent = nullptr);

private:
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;
};
