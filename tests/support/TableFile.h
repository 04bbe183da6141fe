#pragma once

#include "records/RecordsFile.h"

// Stores table into the file at path as a won game's save does, whatever the
// file held.
inline bool writeTable(Runtime &runtime, const QByteArray &path, const RecordTable &table, QString &error,
                       Runtime::InTheWay *inTheWay = nullptr)
{
    return reviseTable(
        runtime, path,
        [&](RecordTable &stored) {
            stored = table;
            return true;
        },
        error, inTheWay);
}
