#pragma once

#include "ui/FixedDialog.h"

#include <array>
#include <cstdint>

class QGroupBox;
class QLabel;

// The records window: the five places under a heading, the cup, the result
// line of a won game and an "Ok!" button. It keeps nothing: its callers fill
// it before showing it.
class FrmRecord : public FixedDialog
{
    Q_OBJECT

public:
    explicit FrmRecord(QWidget *parent = nullptr);

    // Place 1..5: the name as stored (NUL characters show as nothing) and the moves.
    void setPlace(int16_t place, const QString &name, const QString &moves);
    // The result line.
    void setResultVisible(bool visible);
    void setResultText(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *Label1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    std::array<QLabel *, 5> LblMesto{};   // indexes 0..4
    std::array<QLabel *, 6> Label2{};     // indexes 1..5
    std::array<QLabel *, 6> LblHod{};     // indexes 1..5
    QLabel *Label3 = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *Command1 = nullptr;
};
