#include "platform/Conversions.h"

#include <cmath>
#include <limits>

QString Str(int16_t n)
{
    return QString::number(n);
}

std::optional<double> CDbl(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<int16_t> RoundToInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // the default mode rounds half to even
    if (rounded < std::numeric_limits<int16_t>::min() || rounded > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(rounded);
}

std::optional<int16_t> CInt(const QString &text)
{
    const std::optional<double> value = CDbl(text);
    if (!value)
        return std::nullopt;
    return RoundToInt16(*value);
}

double Val(const QString &text)
{
    // Blanks are skipped wherever they stand, as the classic reading does.
    QString number;
    bool digits = false, point = false, exponent = false;
    for (const QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        if (c.isDigit() && c.unicode() < 128) {
            digits = true;
        } else if ((c == u'-' || c == u'+') && (number.isEmpty() || number.back() == u'e')) {
        } else if (c == u'.' && !point && !exponent) {
            point = true;
        } else if ((c == u'e' || c == u'E' || c == u'd' || c == u'D') && digits && !exponent) {
            exponent = true;
            number += u'e';
            continue;
        } else {
            break;
        }
        number += c;
    }
    // A dangling exponent or sign reads as if it were not there.
    while (!number.isEmpty() && !number.back().isDigit() && number.back() != u'.')
        number.chop(1);
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value : 0.0;
}

bool IncrementChecked(int16_t &counter)
{
    if (counter == std::numeric_limits<int16_t>::max())
        return false;
    ++counter;
    return true;
}
