#pragma once

#include "records/RecordEntry.h"

#include <QByteArray>
#include <QByteArrayView>

// The records file's bytes: place n is the 12-byte record at (n - 1) x 12,
// ten name bytes in Windows-1251 and the moves as a little-endian int16.
constexpr int RecordSize = 12;
constexpr int TableSize = RecordSize * RecordTable::Places;

// The ten bytes of a name; a character Windows-1251 cannot hold becomes "?".
QByteArray encodeName(const QString &name);
// Ten name bytes back to ten characters; a byte that is no Windows-1251
// character reads as "?", a NUL byte as a NUL character.
QString decodeName(QByteArrayView bytes);

// The five places as the 60 bytes the file holds; a name keeps the bytes it
// was read from while they still read as it.
QByteArray encodeTable(const RecordTable &table);
// The five places from the start of a file, each name with its bytes; bytes
// the file lacks read as zeros.
RecordTable decodeTable(QByteArrayView bytes);
