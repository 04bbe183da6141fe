#pragma once

#include <QRect>
#include <QtGlobal>

// The window designs measure in twips: 15 to the pixel at 96 dots per inch.
constexpr int tw(int twips)
{
    return (twips + 7) / 15;
}

// A control's place in its container, from the design's Left, Top, Width, Height.
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(tw(left), tw(top), tw(width), tw(height));
}
