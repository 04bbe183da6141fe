#pragma once

#include "records/RecordEntry.h"

#include <QString>
#include <functional>

class Runtime;

// Full path of the records file, in the runtime's records folder.
QString recordsPath(const Runtime &runtime);

// Reads the five places of the file at path into table; a missing file reads
// as five empty places. False, with the system's reason, if it cannot be read.
bool readTable(Runtime &runtime, const QString &path, RecordTable &table, QString &error);

// Under the lock every game takes to save, reads the five places afresh and
// lets revise change them; stores them as one step, keeping any bytes beyond,
// unless revise returns false. False, with the system's reason, if the file
// cannot be read or written; lockInTheWay (if given) gets the lock file's path
// when what stands there stops the save.
bool reviseTable(Runtime &runtime, const QString &path, const std::function<bool(RecordTable &)> &revise,
                 QString &error, QString *lockInTheWay = nullptr);

// Stores the five places into the file at path, as reviseTable does.
bool writeTable(Runtime &runtime, const QString &path, const RecordTable &table, QString &error,
                QString *lockInTheWay = nullptr);
