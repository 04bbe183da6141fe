#pragma once

#include "platform/Runtime.h"
#include "records/RecordEntry.h"

#include <QByteArray>
#include <QString>
#include <functional>

// Full path of the records file, in the runtime's records folder, in the
// system's bytes.
QByteArray recordsPath(const Runtime &runtime);

// Reads the five places of the file at path into table; a missing file reads
// as five empty places. False, with the system's reason, if it cannot be read.
bool readTable(Runtime &runtime, const QByteArray &path, RecordTable &table, QString &error);

// Under the lock every game takes to save, reads the five places afresh and
// lets revise change them; stores them as one step, keeping any bytes beyond,
// unless revise returns false. False, with the system's reason, if the file
// cannot be read or written; inTheWay (if given) says what stands at the
// lock's path when that stops the save.
bool reviseTable(Runtime &runtime, const QByteArray &path, const std::function<bool(RecordTable &)> &revise,
                 QString &error, Runtime::InTheWay *inTheWay = nullptr);
