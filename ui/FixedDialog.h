#pragma once

#include <QDialog>

class FocusRing;
class QKeyEvent;
class QPushButton;
class QShowEvent;

// A small modal window of fixed size with one button that closes it: title,
// system menu and close box only, centred on the screen at every opening.
class FixedDialog : public QDialog
{
    Q_OBJECT

public:
    FixedDialog(const char *name, const QString &caption, QSize clientSize, QWidget *parent);

protected:
    // The window's one button, which closes it: it holds the focus, ringed
    // however it got it, and takes Enter and space, yet is neither the
    // default nor the cancel button.
    QPushButton *makeCloseButton(const char *name, const QString &text, QRect place);

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    FocusRing *m_focusRing = nullptr;
    QPushButton *m_closeButton = nullptr;
};
