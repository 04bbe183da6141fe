#pragma once

#include "records/RecordEntry.h"

#include <QStringList>

// Tables written as the records window reads them: "Аня 30 / Боря 40 / . / . / .",
// a place as its name and moves, "." for an empty place. Names are trimmed.
inline RecordTable tableFromText(const QString &text)
{
    RecordTable table;
    const QStringList places = text.split(QLatin1Char('/'));
    for (int16_t place = 1; place <= places.size(); ++place) {
        const QString entry = places[place - 1].trimmed();
        if (entry == QLatin1String("."))
            continue;
        const qsizetype gap = entry.lastIndexOf(QLatin1Char(' '));
        table(place).Name = fixedName(entry.left(qMax<qsizetype>(gap, 0)));
        table(place).Hod = static_cast<int16_t>(entry.mid(gap + 1).toInt());
    }
    return table;
}

inline QString tableToText(const RecordTable &table)
{
    QStringList places;
    for (int16_t place = 1; place <= RecordTable::Places; ++place) {
        const RecordEntry &entry = table(place);
        const QString name = QString(entry.Name).remove(QChar(u'\0')).trimmed();
        if (entry.Hod == 0 && name.isEmpty())
            places << QStringLiteral(".");
        else
            places << (name.isEmpty() ? QString() : name + QLatin1Char(' ')) + QString::number(entry.Hod);
    }
    return places.join(QLatin1String(" / "));
}
