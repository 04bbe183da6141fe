#pragma once

#include "records/RecordEntry.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

class RecordsView;
class Runtime;

// The table of the five best results: entering a won game's result, and the
// records window filled from the file. The file is read afresh every time;
// a file that cannot be read or written is reported and the game goes on.
class Records
{
public:
    Records(RecordsView &view, Runtime &runtime);

    // The records window without the result line.
    void ShowRecords();
    // The end of a won game: enters a result that beats the fifth place (or
    // fills an empty one) under the name the player gives, stores the table
    // without losing what another game stored meanwhile, then shows the
    // records window with the result line. A win in 0 moves is not entered.
    void EnterRecord(int16_t Moves);
    // Fills the records window from the file and shows it until it is closed;
    // false, the player told why, if the file cannot be read.
    bool ViewRecord();

private:
    // Whether a win in Moves enters the table in Rec.
    bool qualifies(int16_t Moves) const;
    // Enters a win in Moves under PlayerName into Rec.
    void placeResult(int16_t Moves);
    bool readTable(const QString &consequence);
    // Stores Rec, or, where another game saved since asRead was read, the
    // result entered into that game's table; tells the player of a failure.
    bool writeTable(const RecordTable &asRead, int16_t Moves);

    RecordsView &m_view;
    Runtime &m_runtime;

    RecordTable Rec;
    RecordEntry TmpRec;
    QByteArray RecPath;
    int16_t RecNo = 0;
    QString PlayerName;
};
