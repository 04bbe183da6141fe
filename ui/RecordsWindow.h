#pragma once

#include "records/RecordsView.h"

#include <memory>

class FrmRecord;
class QWidget;

// The records window as the records logic fills and shows it: made from its
// design at the first touch, unloaded when closed, so every opening starts afresh.
class RecordsWindow : public RecordsView
{
public:
    explicit RecordsWindow(QWidget *owner);
    ~RecordsWindow() override;

    void setResultVisible(bool visible) override;
    void setResultText(const QString &text) override;
    void setPlace(int16_t place, const QString &name, const QString &moves) override;
    void showModal() override;
    void unload() override;

private:
    FrmRecord &window();

    QWidget *m_owner;
    std::unique_ptr<FrmRecord> m_window;
};
