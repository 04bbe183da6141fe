#pragma once

#include <QString>
#include <cstdint>

// What the records logic needs of the records window. The window is made from
// its design at the first touch and destroyed when it closes, so every opening
// starts afresh.
class RecordsView
{
public:
    virtual ~RecordsView() = default;

    // The result line: shown or hidden, and its text.
    virtual void setResultVisible(bool visible) = 0;
    virtual void setResultText(const QString &text) = 0;
    // Place 1..5: the holder's name, all its characters, and the moves in digits.
    virtual void setPlace(int16_t place, const QString &name, const QString &moves) = 0;
    // Shows the window modally; returns once the player has closed it.
    virtual void showModal() = 0;
    // Destroys the window if it was made, without showing it.
    virtual void unload() = 0;
};
