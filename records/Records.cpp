#include "records/Records.h"

#include "platform/Conversions.h"
#include "platform/Runtime.h"
#include "records/RecordsFile.h"
#include "records/RecordsView.h"

#include <QFile>

namespace {

QString NamePrompt() { return QStringLiteral("КАК ВАШЕ ИМЯ, НОВЫЙ РЕКОРДСМЕН?"); }
QString NotShown() { return QStringLiteral("Таблица рекордов не показана."); }
QString NotEntered() { return QStringLiteral("Ваш результат не записан, таблица рекордов не показана."); }
QString OldTableKept() { return QStringLiteral("Ваш результат не записан, в файле осталась прежняя таблица."); }
// The way out of a file in the way: removing it, or asking the one who may.
QString RemoveLock(const QString &removableBy)
{
    return removableBy.isEmpty()
               ? QStringLiteral("Удалите этот файл, и игра снова сможет сохранять рекорды. ")
               : QStringLiteral("Этот файл принадлежит пользователю %1: удалить его может только он или администратор "
                                "системы. ").arg(removableBy);
}

QString problem(const QString &what, const QString &path, const QString &reason, const QString &consequence)
{
    return QStringLiteral("%1\n%2\n\nПричина: %3\n\n%4").arg(what, path, reason, consequence);
}

} // namespace

Records::Records(RecordsView &view, Runtime &runtime) : m_view(view), m_runtime(runtime) {}

void Records::ShowRecords()
{
    m_view.setResultVisible(false);
    ViewRecord();
}

void Records::EnterRecord(int16_t Moves)
{
    if (!readTable(NotEntered()))
        return;
    if (qualifies(Moves)) {
        const RecordTable asRead = Rec;
        PlayerName = m_runtime.inputBox(NamePrompt());
        placeResult(Moves);
        writeTable(asRead, Moves);
    }
    m_view.setResultVisible(true);
    m_view.setResultText(QStringLiteral("Вы справились за ") + Str(Moves) + QStringLiteral(" ходов"));
    ViewRecord();
}

bool Records::ViewRecord()
{
    if (!readTable(NotShown())) {
        m_view.unload();
        return false;
    }
    for (RecNo = 1; RecNo <= RecordTable::Places; ++RecNo)
        m_view.setPlace(RecNo, Rec(RecNo).Name, Str(Rec(RecNo).Hod));
    m_view.showModal();
    return true;
}

bool Records::qualifies(int16_t Moves) const
{
    // 0 moves is the mark of an empty place, never a result: a deal can come
    // out solved, and its win must not leave a gap in the table.
    return Moves != 0 && (Moves < Rec(5).Hod || Rec(5).Hod == 0);
}

void Records::placeResult(int16_t Moves)
{
    // The result takes the fifth place, whose holder drops out, then climbs in
    // one pass over empty places and longer games; it stays below an equal
    // count, the earlier holder keeping the higher place.
    Rec(5) = RecordEntry(fixedName(PlayerName), Moves);
    for (RecNo = 5; RecNo >= 2; --RecNo) {
        if (Rec(RecNo).Hod < Rec(RecNo - 1).Hod || Rec(RecNo - 1).Hod == 0) {
            TmpRec = Rec(RecNo);
            Rec(RecNo) = Rec(RecNo - 1);
            Rec(RecNo - 1) = TmpRec;
        }
    }
}

bool Records::readTable(const QString &consequence)
{
    RecPath = recordsPath(m_runtime);
    QString reason;
    if (::readTable(m_runtime, RecPath, Rec, reason))
        return true;
    m_runtime.warning(problem(QStringLiteral("Не удалось прочитать файл рекордов"), QFile::decodeName(RecPath), reason,
                              consequence));
    return false;
}

bool Records::writeTable(const RecordTable &asRead, int16_t Moves)
{
    RecPath = recordsPath(m_runtime);
    QString reason;
    const auto revise = [&](RecordTable &onDisk) {
        // Another game saved since this one read the table: the result enters
        // that table afresh, under the same name, if it still makes it.
        if (onDisk != asRead) {
            Rec = onDisk;
            if (!qualifies(Moves))
                return false;
            placeResult(Moves);
        }
        onDisk = Rec;
        return true;
    };
    Runtime::InTheWay lock;
    if (reviseTable(m_runtime, RecPath, revise, reason, &lock))
        return true;
    if (lock.path.isEmpty())
        m_runtime.warning(problem(QStringLiteral("Не удалось сохранить файл рекордов"), QFile::decodeName(RecPath),
                                  reason, OldTableKept()));
    else
        m_runtime.warning(problem(QStringLiteral("Не удалось сохранить рекорды: мешает файл блокировки"), lock.path,
                                  reason, RemoveLock(lock.removableBy) + OldTableKept()));
    return false;
}
