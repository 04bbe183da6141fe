#include "ui/FixedDialog.h"

#include "ui/FocusRing.h"
#include "ui/Placement.h"

#include <QKeyEvent>
#include <QPushButton>

FixedDialog::FixedDialog(const char *name, const QString &caption, QSize clientSize, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QLatin1String(name));
    setWindowTitle(caption);
    // A fixed window has no use for maximise or minimise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(clientSize);
    centreOnScreen(this);
    // Made before any control, so it is gone before they are.
    m_focusRing = new FocusRing(this);
}

QPushButton *FixedDialog::makeCloseButton(const char *name, const QString &text, QRect place)
{
    m_closeButton = new QPushButton(text, this);
    m_closeButton->setObjectName(QLatin1String(name));
    m_closeButton->setGeometry(place);
    m_closeButton->setAutoDefault(false);
    m_closeButton->setDefault(false);
    m_closeButton->setFocus();
    m_focusRing->watch(m_closeButton);
    // The designs' Command1_Click and CmdClose_Click alike: the window closes.
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::accept);
    return m_closeButton;
}

void FixedDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Now the frame is known, centre again by it.
    centreOnScreen(this);
}

void FixedDialog::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Qt lets only a default button take Enter; the focused button should too.
        if (m_closeButton && focusWidget() == m_closeButton) {
            m_closeButton->click();
            return;
        }
        break;
    case Qt::Key_Escape:
        // No cancel button: Escape leaves the window open.
        event->accept();
        return;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}
