#include "platform/FileAccess.h"
#include "platform/ScriptedRuntime.h"
#include "records/RecordFormat.h"
#include "records/RecordsFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

const QString NoName(NameLength, QChar(u'\0'));

RecordEntry entry(const QString &name, int16_t moves)
{
    return RecordEntry{fixedName(name), moves};
}

QByteArray recordBytes(const QString &name, int16_t moves)
{
    RecordTable table;
    table(1) = entry(name, moves);
    return encodeTable(table).left(RecordSize);
}

// A device that takes `room` bytes and then fails, as a full disk does.
class FullDevice : public QIODevice
{
public:
    explicit FullDevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 taken = qMin(size, m_room - written.size());
        if (taken <= 0) {
            setErrorString(QStringLiteral("На устройстве не осталось свободного места"));
            return -1;
        }
        written.append(data, taken);
        return taken;
    }

private:
    qint64 m_room;
};

struct Folder
{
    ScriptedRuntime runtime;
    QString path = recordsPath(runtime);

    QByteArray file() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no file)");
    }
    void put(const QByteArray &bytes) const
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    RecordTable read()
    {
        RecordTable table;
        QString error;
        if (!readTable(runtime, path, table, error))
            qWarning("read failed: %s", qPrintable(error));
        return table;
    }
    QStringList entries() const { return QDir(runtime.programFolder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries); }
};

} // namespace

// The records file's bytes, and reading and storing it safely.
class TestRecordsFile : public QObject
{
    Q_OBJECT

private slots:
    void placesAreStoredAsTwelveBytesInWindows1251()
    {
        QCOMPARE(recordBytes("abc", 123), QByteArray::fromHex("616263202020202020207B00"));
        QCOMPARE(recordBytes("", 32767), QByteArray::fromHex("20202020202020202020FF7F"));
        QCOMPARE(recordBytes("abcdefghijKLM", -2), QByteArray("abcdefghij") + QByteArray::fromHex("FEFF"));
        QCOMPARE(recordBytes("Ёжик Щука", 1), QByteArray::fromHex("A8E6E8EA20D9F3EAE0200100"));
        // No counterpart: one "?" per character, a character beyond the basic plane included.
        QCOMPARE(recordBytes(QStringLiteral("€😀ẞ№ДЯЎ🎲🎲Zq"), 7), QByteArray::fromHex("883F3FB9C4DFA13F3F5A0700"));
        QCOMPARE(fixedName(QStringLiteral("😀😀😀😀😀😀😀😀😀😀😀")).size(), 20);
        // An empty place is twelve zero bytes, unlike an empty name.
        QCOMPARE(encodeTable(RecordTable{}), QByteArray(TableSize, '\0'));
    }

    void everyByteReadsBackAsItselfButTheUndefinedOne()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        for (int at = 0; at < 256; at += NameLength) {
            const QByteArray bytes = all.mid(at, NameLength).leftJustified(NameLength, ' ');
            QByteArray expected = bytes;
            expected.replace('\x98', '?');
            QCOMPARE(encodeName(decodeName(bytes)), expected);
        }
        QCOMPARE(decodeName(QByteArray::fromHex("C8E2E0ED00000000980A")), QStringLiteral("Иван\0\0\0\0?\n"));
    }

    void missingFileReadsAsFiveEmptyPlacesAndIsCreatedEmpty()
    {
        Folder f;
        const RecordTable table = f.read();
        for (int16_t place = 1; place <= 5; ++place)
            QCOMPARE(table(place), (RecordEntry{NoName, 0}));
        QCOMPARE(f.file(), QByteArray());
        QCOMPARE(f.entries(), QStringList{QStringLiteral("Records.dat")});

        // Where it cannot be created it is no error: there is no table yet.
        QByteArray head("stale");
        QString error;
        QVERIFY(readHead(f.runtime.programFolder + "/gone/Records.dat", TableSize, head, error));
        QCOMPARE(head, QByteArray());
    }

    void aReadOnlyFolderReadsAsEmptyAndRefusesTheStore()
    {
        Folder f;
        QFile::setPermissions(f.runtime.programFolder, QFile::ReadOwner | QFile::ExeOwner);
        const bool enforced = !QFileInfo(f.runtime.programFolder).isWritable();
        QString error;
        const bool stored = writeTable(f.runtime, f.path, RecordTable{}, error);
        const RecordTable table = f.read();
        QFile::setPermissions(f.runtime.programFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (!enforced)
            QSKIP("file permissions do not bind this user");
        QVERIFY(!stored);
        QVERIFY(!error.isEmpty());
        QCOMPARE(table, RecordTable{});
        QCOMPARE(f.entries(), QStringList{});
    }

    void shortFilesReadTheirMissingBytesAsZeros()
    {
        const QByteArray whole = QByteArray("Alexander!") + QByteArray::fromHex("0102") + "Bo        " +
                                 QByteArray::fromHex("FF7F") + QByteArray(36, 'z') + "Extra bytes";
        for (int length = 0; length <= whole.size(); ++length) {
            Folder f;
            f.put(whole.left(length));
            const RecordTable table = f.read();
            const QByteArray padded = whole.left(qMin(length, TableSize)).leftJustified(TableSize, '\0');
            for (int16_t place = 1; place <= 5; ++place) {
                const QByteArray record = padded.mid((place - 1) * RecordSize, RecordSize);
                QCOMPARE(table(place).Name, QString::fromLatin1(record.left(NameLength)));
                QCOMPARE(table(place).Hod, int16_t(uchar(record[10]) | uchar(record[11]) << 8));
            }
        }
    }

    void storingReplacesFiveRecordsAndKeepsTheTail()
    {
        Folder f;
        RecordTable table;
        table(1) = entry("abc", 123);
        QString error;
        QVERIFY(writeTable(f.runtime, f.path, table, error));
        QCOMPARE(f.file(), QByteArray::fromHex("616263202020202020207B00") + QByteArray(48, '\0'));

        f.put(QByteArray(TableSize, 'x') + "tail kept");
        table(2) = entry("Юра", 9);
        QVERIFY(writeTable(f.runtime, f.path, table, error));
        QCOMPARE(f.file(), encodeTable(table) + "tail kept");
        QCOMPARE(f.entries(), QStringList{QStringLiteral("Records.dat")});
    }

    void aWriteThatFailsPartWayIsReportedAtOnce()
    {
        QBuffer old;
        old.setData(QByteArray(TableSize, 'o') + QByteArray(20000, 't'));
        old.open(QIODevice::ReadOnly);
        const QByteArray head(TableSize, 'n');
        const qint64 total = TableSize + 20000;
        for (const qint64 room : {qint64(0), qint64(1), qint64(59), qint64(60), qint64(61), total - 1, total}) {
            FullDevice out(room);
            QString error;
            QCOMPARE(writeHeadKeepingTail(out, head, &old, error), room >= total);
            QCOMPARE(error.isEmpty(), room >= total);
            QCOMPARE(out.written, (head + QByteArray(20000, 't')).left(room));
        }
    }

    void aFailedStoreLeavesTheFolderAsItWas()
    {
        Folder f;
        QVERIFY(QDir(f.runtime.programFolder).mkdir(QStringLiteral("Records.dat")));
        QString error;
        QVERIFY(!writeTable(f.runtime, f.path, RecordTable{}, error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(f.entries(), QStringList{QStringLiteral("Records.dat")});
        QVERIFY(QFileInfo(f.path).isDir());

        // A folder that is gone cannot be written either, and nothing appears.
        QVERIFY(!replaceHead(f.runtime.programFolder + "/gone/Records.dat", "x", error));
        QVERIFY(!error.isEmpty());
    }

    void aFileThatCannotBeReadIsReportedWithTheReason()
    {
        Folder f;
        QVERIFY(QDir(f.runtime.programFolder).mkdir(QStringLiteral("Records.dat")));
        RecordTable table;
        table(1) = entry("kept", 5);
        QString error;
        QVERIFY(!readTable(f.runtime, f.path, table, error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(table(1), entry("kept", 5));
    }

    void anyBytesReadSafelyAndStoreBackAsRead()
    {
        QRandomGenerator random(1251);
        for (int round = 0; round < 3000; ++round) {
            QByteArray bytes(random.bounded(0, 100), '\0');
            for (char &b : bytes)
                b = char(random.bounded(256));
            const RecordTable table = decodeTable(bytes);
            QByteArray expected = bytes.left(TableSize).leftJustified(TableSize, '\0');
            for (int i = 0; i < TableSize; ++i)
                if (i % RecordSize < NameLength && expected[i] == '\x98')
                    expected[i] = '?';
            QCOMPARE(encodeTable(table), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordsFile)
#include "test_records_file.moc"
