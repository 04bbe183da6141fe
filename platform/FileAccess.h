#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Whole-file operations on the local disk, with the system's reason for any failure.

// Reads up to maxBytes from the start of the file at path. A missing file is
// created empty; one that cannot be created reads as empty. False, with the
// reason in error, when the file is there but cannot be read.
bool readHead(const QString &path, qint64 maxBytes, QByteArray &head, QString &error);

// Replaces the first head.size() bytes of the file at path, keeping the rest,
// through a new file in the same folder that is flushed to disk and renamed
// over the old one; a failure leaves the old file as it was and no new file.
bool replaceHead(const QString &path, const QByteArray &head, QString &error);

// Writes head to out, then the bytes of `old` beyond head's length (old may be
// null). False, with the reason, as soon as a read or write fails.
bool writeHeadKeepingTail(QIODevice &out, const QByteArray &head, QIODevice *old, QString &error);
