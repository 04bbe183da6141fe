// Time per call of the records file's two passes: storing the table, reading it back.
#include "platform/ScriptedRuntime.h"
#include "records/RecordsFile.h"

#include <QTest>

class RecordsBench : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The scripted runtime's program folder is a fresh temporary one.
        QVERIFY(m_runtime.folder.isValid());
        m_path = recordsPath(m_runtime);
        for (int16_t place = 1; place <= RecordTable::Places; ++place)
            m_table(place) = {fixedName(QStringLiteral("Игрок %1").arg(place)), static_cast<int16_t>(40 + place)};
    }

    // Before the read pass, which reads back what this stored.
    void writePass()
    {
        QString error;
        bool stored = true;
        QBENCHMARK {
            stored &= reviseTable(m_runtime, m_path, [this](RecordTable &table) {
                table = m_table;
                return true;
            }, error);
        }
        QVERIFY2(stored, qPrintable(error));
    }

    void readPass()
    {
        RecordTable table;
        QString error;
        bool read = true;
        QBENCHMARK {
            read &= readTable(m_runtime, m_path, table, error);
        }
        QVERIFY2(read, qPrintable(error));
        QVERIFY(table == m_table);
    }

private:
    ScriptedRuntime m_runtime;
    QByteArray m_path;
    RecordTable m_table;
};

QTEST_MAIN(RecordsBench)
#include "records_bench.moc"
