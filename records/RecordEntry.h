#pragma once

#include <QString>
#include <array>
#include <cstdint>

// Characters in a stored name, exactly.
constexpr int NameLength = 10;

// `text` as a stored name: left-aligned in ten characters, filled up with
// blanks or cut after the tenth character (a character outside the basic
// plane counts as one).
QString fixedName(const QString &text);

// One place of the table: the holder's name and the moves of the result;
// Hod = 0 marks an empty place. A never-set name is ten NUL characters.
struct RecordEntry
{
    QString Name = QString(NameLength, QChar(u'\0'));
    int16_t Hod = 0;

    friend bool operator==(const RecordEntry &, const RecordEntry &) = default;
};

// The five places in memory, Rec(1) the fewest moves.
class RecordTable
{
public:
    static constexpr int16_t Places = 5;

    // Place 1..5.
    RecordEntry &operator()(int16_t place) { return m_places.at(place - 1); }
    const RecordEntry &operator()(int16_t place) const { return m_places.at(place - 1); }

    friend bool operator==(const RecordTable &, const RecordTable &) = default;

private:
    std::array<RecordEntry, Places> m_places;
};
