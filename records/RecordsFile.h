#pragma once

#include "records/RecordEntry.h"

#include <QString>

class Runtime;

// Full path of the records file, in the program's folder.
QString recordsPath(const Runtime &runtime);

// Reads the five places of the file at path into table; a missing file reads
// as five empty places. False, with the system's reason, if it cannot be read.
bool readTable(Runtime &runtime, const QString &path, RecordTable &table, QString &error);

// Stores the five places into the file at path as one step, keeping any bytes
// beyond them. False, with the system's reason, if it cannot be written.
bool writeTable(Runtime &runtime, const QString &path, const RecordTable &table, QString &error);
