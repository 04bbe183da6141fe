#include "ui/RecordsWindow.h"

#include "ui/FrmRecord.h"

RecordsWindow::RecordsWindow(QWidget *owner) : m_owner(owner) {}

RecordsWindow::~RecordsWindow() = default;

FrmRecord &RecordsWindow::window()
{
    if (!m_window)
        m_window = std::make_unique<FrmRecord>(m_owner);
    return *m_window;
}

void RecordsWindow::setResultVisible(bool visible)
{
    window().setResultVisible(visible);
}

void RecordsWindow::setResultText(const QString &text)
{
    window().setResultText(text);
}

void RecordsWindow::setPlace(int16_t place, const QString &name, const QString &moves)
{
    window().setPlace(place, name, moves);
}

void RecordsWindow::showModal()
{
    window().exec();
    // "Ok!" and the close box both unload it: the next opening starts from the design.
    unload();
}

void RecordsWindow::unload()
{
    m_window.reset();
}
