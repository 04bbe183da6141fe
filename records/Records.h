#pragma once

#include "records/RecordEntry.h"

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
    // fills an empty one) under the name the player gives, stores the table,
    // then shows the records window with the result line.
    void EnterRecord(int16_t Moves);
    // Fills the records window from the file and shows it until it is closed;
    // false, the player told why, if the file cannot be read.
    bool ViewRecord();

    // The table as the last pass left it.
    const RecordTable &table() const { return Rec; }

private:
    bool readTable(const QString &consequence);
    bool writeTable();

    RecordsView &m_view;
    Runtime &m_runtime;

    RecordTable Rec;
    RecordEntry TmpRec;
    QString RecPath;
    int16_t RecNo = 0;
    QString PlayerName;
};
