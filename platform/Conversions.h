#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The text and number conversions the board uses on its cells' tags.

// Decimal digits with no leading blank: 7 -> "7", -3 -> "-3".
QString Str(int16_t n);

// Strict text to double: surrounding blanks allowed, anything else that is
// not a number gives nothing.
std::optional<double> CDbl(const QString &text);

// Strict text to a 16-bit integer, rounding half to even; nothing when the
// text is not a number or the value lies outside -32768..32767.
std::optional<int16_t> CInt(const QString &text);

// The leading number of a text: blanks skipped, reading stops at the first
// character that cannot continue a number, 0 when there is none.
double Val(const QString &text);

// A double rounded half to even into 16 bits; nothing outside the range.
std::optional<int16_t> RoundToInt16(double value);

// Adds one to a 16-bit counter unless that would overflow; says whether it did.
bool IncrementChecked(int16_t &counter);
