#pragma once

#include "platform/Runtime.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// The most a saved file may hold, the bytes beyond its head included: far
// more than any table, far less than a disk.
constexpr qint64 MaxFileBytes = 64 * 1024;

// Whole-file operations on the local disk, with the system's reason for any
// failure, in Russian.

// Reads up to maxBytes from the start of the file at path, following only the
// links followTrustedLinks trusts. Only a file that is not there reads as
// empty: it is created empty where the folder allows. False, with the reason
// in error, for anything else that stops the read, a FIFO, socket, device or
// folder in its place included; never blocks on one.
bool readHead(const QString &path, qint64 maxBytes, QByteArray &head, QString &error);

// Under the lock every game takes to save (SaveLock), waiting up to two
// seconds for it: reads the file's first maxBytes as readHead does and
// replaces them with update's answer, keeping the rest, through a new file in
// the same folder that is written, checked, flushed to disk, given the old
// file's owner and mode and renamed over the old one. Links are followed as
// readHead follows them, and the lock, the new file and the rename sit beside
// the file they lead to. A file larger than MaxFileBytes is refused before
// anything is written. Removes the new files that killed saves left, and
// nothing else. A failure leaves the old file as it was and no new file; when
// what stands at the lock's path is in the way, lockInTheWay (if given) gets
// that path.
bool updateHead(const QString &path, qint64 maxBytes, const Runtime::HeadUpdate &update, QString &error,
                QString *lockInTheWay = nullptr);

// Writes head to out, then the bytes of `old` beyond head's length (old may be
// null). False, with the reason, as soon as a read or write fails or the
// whole would pass MaxFileBytes; no more than that is ever written.
bool writeHeadKeepingTail(QIODevice &out, const QByteArray &head, QIODevice *old, QString &error);
