#include "platform/ScriptedRuntime.h"
#include "records/RecordFormat.h"
#include "records/Records.h"
#include "support/FakeRecordsView.h"
#include "support/Processes.h"
#include "support/TableText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

namespace {

const QString NamePrompt = QStringLiteral("КАК ВАШЕ ИМЯ, НОВЫЙ РЕКОРДСМЕН?");
const QString FiveResults = QStringLiteral("Аня 30 / Боря 40 / Вика 50 / Гена 60 / Даша 70");

// The records logic on a window-less records window, in a folder of its own.
struct Table
{
    ScriptedRuntime runtime;
    FakeRecordsView view;
    Records records{view, runtime};

    QString path() const { return QDir(runtime.programFolder).filePath(QStringLiteral("Records.dat")); }
    QByteArray file() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no file)");
    }
    void store(const QString &text) const
    {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(encodeTable(tableFromText(text)));
    }
    QString stored() const { return tableToText(decodeTable(file())); }
};

QString shownTable(const FakeRecordsView::Opening &shown)
{
    RecordTable table;
    for (int16_t place = 1; place <= RecordTable::Places; ++place)
        table(place) = {shown.names[place - 1], static_cast<int16_t>(shown.moves[place - 1].toInt())};
    return tableToText(table);
}

} // namespace

// A won game's result entering the table, and the table shown.
class TestRecordsEntry : public QObject
{
    Q_OBJECT

private slots:
    void resultClimbsToItsPlaceInOnePass_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("moves");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("after");
        QTest::newRow("equal to the fifth does not enter") << FiveResults << 70 << false << FiveResults;
        QTest::newRow("one better takes the fifth place")
            << FiveResults << 69 << true << "Аня 30 / Боря 40 / Вика 50 / Гена 60 / Юра 69";
        QTest::newRow("equal stays below the earlier holder")
            << FiveResults << 50 << true << "Аня 30 / Боря 40 / Вика 50 / Юра 50 / Гена 60";
        QTest::newRow("best climbs to the top") << FiveResults << 10 << true
                                                << "Юра 10 / Аня 30 / Боря 40 / Вика 50 / Гена 60";
        QTest::newRow("climbs over empty places only")
            << "Аня 30 / . / . / . / ." << 50 << true << "Аня 30 / Юра 50 / . / . / .";
        QTest::newRow("a win in 0 moves is never entered") << "Аня 30 / . / . / . / ." << 0 << false
                                                          << "Аня 30 / . / . / . / .";
        QTest::newRow("a negative count is taken as it stands")
            << "Аня -5 / Боря 40 / Вика 50 / Гена 60 / Даша 70" << 10 << true
            << "Аня -5 / Юра 10 / Боря 40 / Вика 50 / Гена 60";
    }
    void resultClimbsToItsPlaceInOnePass()
    {
        QFETCH(QString, before);
        QFETCH(int, moves);
        QFETCH(bool, asked);
        QFETCH(QString, after);
        Table t;
        t.store(before);
        const QByteArray old = t.file();
        t.runtime.inputAnswers = {QStringLiteral("Юра")};

        t.records.EnterRecord(static_cast<int16_t>(moves));

        QCOMPARE(t.runtime.inputPrompts, asked ? QStringList{NamePrompt} : QStringList{});
        QCOMPARE(t.stored(), after);
        QCOMPARE(t.runtime.fileWrites, asked ? 1 : 0);
        if (!asked)
            QCOMPARE(t.file(), old);
        // The window shows the file as it now stands, with the result line.
        QCOMPARE(t.view.openings.size(), 1);
        const FakeRecordsView::Opening shown = t.view.openings[0];
        QVERIFY(shown.resultVisible);
        QCOMPARE(shown.result, QStringLiteral("Вы справились за %1 ходов").arg(moves));
        QCOMPARE(shown.names[0], decodeTable(t.file())(1).Name);
        QStringList counts;
        for (const QString &place : after.split(QStringLiteral(" / ")))
            counts << (place == QLatin1String(".") ? QStringLiteral("0") : place.section(' ', -1));
        QCOMPARE(shown.moves, counts);
        QCOMPARE(t.runtime.warnings, QStringList{});
    }

    void firstWinCreatesTheFileWithFourEmptyPlaces()
    {
        Table t;
        t.runtime.inputAnswers = {QStringLiteral("abc")};
        t.records.EnterRecord(123);
        QCOMPARE(t.file(), QByteArray::fromHex("616263202020202020207B00") + QByteArray(48, '\0'));
        QCOMPARE(t.view.openings[0].names,
                 QStringList({QStringLiteral("abc       "), QString(10, QChar(u'\0')), QString(10, QChar(u'\0')),
                              QString(10, QChar(u'\0')), QString(10, QChar(u'\0'))}));
        QCOMPARE(t.view.openings[0].moves, QStringList({"123", "0", "0", "0", "0"}));
    }

    void cancelOrAnEmptyNameEntersTenBlanksAndALongNameIsCut()
    {
        Table t;
        t.runtime.inputAnswers = {QString(), QStringLiteral("Константинопольский")};
        t.records.EnterRecord(40);
        t.records.EnterRecord(30);
        QCOMPARE(decodeTable(t.file())(1).Name, QStringLiteral("Константин"));
        QCOMPARE(decodeTable(t.file())(2).Name, QString(10, QLatin1Char(' ')));
        QCOMPARE(t.file().mid(12, 12), QByteArray("          ") + QByteArray::fromHex("2800"));
        QCOMPARE(t.view.openings[1].names[1], QString(10, QLatin1Char(' ')));
    }

    void twoGamesWonAtOnceLoseNoResult_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("after");
        QTest::newRow("both enter") << ". / . / . / . / ." << 50 << 60 << "Анна 50 / Борис 60 / . / . / .";
        QTest::newRow("the other game's result pushes this one out")
            << FiveResults << 65 << 61 << "Аня 30 / Боря 40 / Вика 50 / Гена 60 / Борис 61";
    }
    void twoGamesWonAtOnceLoseNoResult()
    {
        QFETCH(QString, before);
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(QString, after);
        Table a, b;
        b.runtime.programFolder = a.runtime.programFolder;
        a.store(before);
        a.runtime.inputAnswers = {QStringLiteral("Анна")};
        b.runtime.inputAnswers = {QStringLiteral("Борис")};
        // While A's player types a name, B's game is won and saved.
        a.runtime.whileAsking = [&] { b.records.EnterRecord(static_cast<int16_t>(second)); };

        a.records.EnterRecord(static_cast<int16_t>(first));

        QCOMPARE(a.runtime.inputPrompts, QStringList{NamePrompt});
        QCOMPARE(a.stored(), after);
        QCOMPARE(a.view.openings.size(), 1);
        QCOMPARE(a.view.openings[0].result, QStringLiteral("Вы справились за %1 ходов").arg(first));
        QCOMPARE(shownTable(a.view.openings[0]), after);
        QCOMPARE(a.runtime.warnings + b.runtime.warnings, QStringList{});
        QCOMPARE(QDir(a.runtime.programFolder).entryList(QDir::Files), QStringList{QStringLiteral("Records.dat")});
    }

    void recordsButtonHidesTheResultLineAndReadsTheFileEveryTime()
    {
        Table t;
        t.store(FiveResults);
        t.records.ShowRecords();
        t.store(QStringLiteral("Юра 5 / . / . / . / ."));
        t.records.ShowRecords();
        QCOMPARE(t.view.openings.size(), 2);
        QVERIFY(!t.view.openings[0].resultVisible);
        QCOMPARE(t.view.openings[0].moves, QStringList({"30", "40", "50", "60", "70"}));
        QCOMPARE(t.view.openings[1].names[0], QStringLiteral("Юра       "));
        QCOMPARE(t.view.openings[1].moves, QStringList({"5", "0", "0", "0", "0"}));
    }

    void unreadableFileIsReportedAndNothingIsAskedWrittenOrShown()
    {
        Table t;
        t.store(FiveResults);
        t.runtime.readFailure = QStringLiteral("Доступ запрещён");
        t.records.EnterRecord(10);
        t.records.ShowRecords();
        QCOMPARE(t.runtime.inputPrompts, QStringList{});
        QCOMPARE(t.runtime.fileWrites, 0);
        QCOMPARE(t.view.openings.size(), 0);
        QCOMPARE(t.runtime.warnings.size(), 2);
        for (const QString &warning : t.runtime.warnings) {
            QVERIFY(warning.startsWith(QStringLiteral("Не удалось прочитать файл рекордов\n") + t.path()));
            QVERIFY(warning.contains(QStringLiteral("Причина: Доступ запрещён")));
        }
        QVERIFY(t.runtime.warnings[0].endsWith(QStringLiteral("Ваш результат не записан, таблица рекордов не показана.")));
        QVERIFY(t.runtime.warnings[1].endsWith(QStringLiteral("Таблица рекордов не показана.")));
        QCOMPARE(t.stored(), FiveResults);
    }

    void unwritableFileIsReportedAndTheOldTableShown()
    {
        Table t;
        t.store(FiveResults);
        t.runtime.writeFailure = QStringLiteral("На устройстве не осталось свободного места");
        t.runtime.inputAnswers = {QStringLiteral("Юра")};
        t.records.EnterRecord(10);
        QCOMPARE(t.runtime.warnings.size(), 1);
        QVERIFY(t.runtime.warnings[0].startsWith(QStringLiteral("Не удалось сохранить файл рекордов\n") + t.path()));
        QVERIFY(t.runtime.warnings[0].contains(QStringLiteral("На устройстве не осталось свободного места")));
        QCOMPARE(t.stored(), FiveResults);
        QCOMPARE(t.view.openings.size(), 1);
        QCOMPARE(t.view.openings[0].result, QStringLiteral("Вы справились за 10 ходов"));
        QCOMPARE(t.view.openings[0].moves, QStringList({"30", "40", "50", "60", "70"}));

        // Something at the lock's path that stops the save is named, with the way out.
        t.runtime.writeFailure.clear();
        t.runtime.inputAnswers = {QStringLiteral("Юра")};
        const QString lock = QDir(t.runtime.programFolder).filePath(QStringLiteral(".Records.dat.pyatnashki-lock"));
        QVERIFY(::mkfifo(QFile::encodeName(lock).constData(), 0644) == 0);
        QElapsedTimer clock;
        clock.start();
        {
            const WaitLimit limit(1000);
            t.records.EnterRecord(10);
        }
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(t.runtime.warnings.size(), 2);
        QCOMPARE(t.runtime.warnings[1], QStringLiteral("Не удалось сохранить рекорды: мешает файл блокировки\n") + lock
                                            + QStringLiteral("\n\nПричина: Это не обычный файл, а именованный канал\n\n"
                                                             "Удалите этот файл, и игра снова сможет сохранять рекорды. "
                                                             "Ваш результат не записан, в файле осталась прежняя таблица."));
        QCOMPARE(t.stored(), FiveResults);
    }

    void placesTheSaveDoesNotChangeKeepTheirBytes()
    {
        // 0x98 is no letter in Windows-1251 and reads as "?", yet the names
        // holding it, moved down a place or not, keep their bytes; only the
        // new name is encoded.
        Table t;
        const QByteArray first = QByteArray("\xC0\xED\xFF\x98      ") + QByteArray::fromHex("1E00");
        const QByteArray second = QByteArray("Bo\x98" "b\x98     ") + QByteArray::fromHex("2800");
        QFile f(t.path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(first + second);
        f.close();
        t.runtime.inputAnswers = {QStringLiteral("Юра")};
        t.records.EnterRecord(35);
        QCOMPARE(t.file(), first + QByteArray("\xDE\xF0\xE0       ") + QByteArray::fromHex("2300") + second
                               + QByteArray(2 * RecordSize, '\0'));
        QCOMPARE(t.view.openings[0].names[0], QStringLiteral("Аня?      "));
    }
};

QTEST_GUILESS_MAIN(TestRecordsEntry)
#include "test_records_entry.moc"
