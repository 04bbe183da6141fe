#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <utility>

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
    RecordEntry() = default;
    RecordEntry(QString name, int16_t hod, QByteArray nameBytes = {})
        : Name(std::move(name)), Hod(hod), NameBytes(std::move(nameBytes))
    {
    }

    QString Name = QString(NameLength, QChar(u'\0'));
    int16_t Hod = 0;
    // The ten bytes Name was read from, stored back as they are while they
    // still read as Name, so that a save keeps other players' names to the
    // byte; empty for a name entered here.
    QByteArray NameBytes;

    // Entries are equal when they read alike, whatever bytes stand behind the names.
    friend bool operator==(const RecordEntry &a, const RecordEntry &b) { return a.Name == b.Name && a.Hod == b.Hod; }
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
