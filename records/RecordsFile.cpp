#include "records/RecordsFile.h"

#include "records/RecordFormat.h"

QByteArray recordsPath(const Runtime &runtime)
{
    return runtime.recordsFolder() + "/Records.dat";
}

bool readTable(Runtime &runtime, const QByteArray &path, RecordTable &table, QString &error)
{
    QByteArray head;
    if (!runtime.readFileHead(path, TableSize, head, error))
        return false;
    table = decodeTable(head);
    return true;
}

bool reviseTable(Runtime &runtime, const QByteArray &path, const std::function<bool(RecordTable &)> &revise,
                 QString &error, Runtime::InTheWay *inTheWay)
{
    Runtime::InTheWay blocked;
    const bool stored = runtime.updateFileHead(
        path, TableSize,
        [&](const QByteArray &current) -> std::optional<QByteArray> {
            RecordTable table = decodeTable(current);
            if (!revise(table))
                return std::nullopt;
            return encodeTable(table);
        },
        error, blocked);
    if (inTheWay)
        *inTheWay = blocked;
    return stored;
}
