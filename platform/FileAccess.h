#pragma once

#include "platform/Runtime.h"
#include "platform/TrustedPath.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// The most a saved file may hold, the bytes beyond its head included: far
// more than any table, far less than a disk.
constexpr qint64 MaxFileBytes = 64 * 1024;

// Whole-file operations on the local disk, with the system's reason for any
// failure, in Russian.

// Reads up to maxBytes from the start of the file at path, walked to as
// walkTo walks (by rules). Only a file that is not there reads as empty: it
// is created empty where the folder allows. False, with the reason in error,
// for anything else that stops the read, a FIFO, socket, device or folder in
// its place included; never blocks on one.
bool readHeadMakingFile(const QByteArray &path, qint64 maxBytes, QByteArray &head, QString &error, WalkRules rules = {});

// Under the lock every game takes to save (SaveLock), waiting up to two
// seconds for it: reads the file's first maxBytes as readHeadMakingFile does and
// replaces them with update's answer, keeping the rest, through a new file in
// the same folder that is written, checked, flushed to disk, given the old
// file's owner, group, mode and access list (never a set-id bit) and renamed
// over the old one. Everything happens in the folder the walk opened. A file
// larger than MaxFileBytes is refused before anything is written. A save
// killed before its rename leaves a new file the next save removes; nothing
// else is removed. A failure leaves the old file as it was and no new file;
// when what stands at the lock's path is in the way, inTheWay (if given)
// says what and whose it is.
bool updateHead(const QByteArray &path, qint64 maxBytes, const Runtime::HeadUpdate &update, QString &error,
                Runtime::InTheWay *inTheWay = nullptr, WalkRules rules = {});

// Writes head to out, then the bytes of `old` beyond head's length (old may be
// null). False, with the reason, as soon as a read or write fails or the
// whole would pass MaxFileBytes; no more than that is ever written. Public so
// that it can be driven with a device that fails, as no disk can on demand.
bool writeHeadKeepingTail(QIODevice &out, const QByteArray &head, QIODevice *old, QString &error);
