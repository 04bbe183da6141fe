#include "records/RecordsFile.h"

#include "platform/Runtime.h"
#include "records/RecordFormat.h"

#include <QDir>

QString recordsPath(const Runtime &runtime)
{
    // The platform's own separator: a backslash is an ordinary character in
    // file names here.
    return runtime.appPath() + QDir::separator() + QStringLiteral("Records.dat");
}

bool readTable(Runtime &runtime, const QString &path, RecordTable &table, QString &error)
{
    QByteArray head;
    if (!runtime.readFileHead(path, TableSize, head, error))
        return false;
    table = decodeTable(head);
    return true;
}

bool writeTable(Runtime &runtime, const QString &path, const RecordTable &table, QString &error)
{
    return runtime.replaceFileHead(path, encodeTable(table), error);
}
