#include "records/RecordsFile.h"

#include "platform/Runtime.h"
#include "records/RecordFormat.h"

#include <QDir>

QString recordsPath(const Runtime &runtime)
{
    // The platform's own separator: a backslash is an ordinary character in
    // file names here.
    return runtime.recordsFolder() + QDir::separator() + QStringLiteral("Records.dat");
}

bool readTable(Runtime &runtime, const QString &path, RecordTable &table, QString &error)
{
    QByteArray head;
    if (!runtime.readFileHead(path, TableSize, head, error))
        return false;
    table = decodeTable(head);
    return true;
}

bool reviseTable(Runtime &runtime, const QString &path, const std::function<bool(RecordTable &)> &revise,
                 QString &error, QString *lockInTheWay)
{
    QString lockFile;
    const bool stored = runtime.updateFileHead(
        path, TableSize,
        [&](const QByteArray &current) -> std::optional<QByteArray> {
            RecordTable table = decodeTable(current);
            if (!revise(table))
                return std::nullopt;
            return encodeTable(table);
        },
        error, lockFile);
    if (lockInTheWay)
        *lockInTheWay = lockFile;
    return stored;
}

bool writeTable(Runtime &runtime, const QString &path, const RecordTable &table, QString &error,
                QString *lockInTheWay)
{
    return reviseTable(
        runtime, path,
        [&](RecordTable &stored) {
            stored = table;
            return true;
        },
        error, lockInTheWay);
}
