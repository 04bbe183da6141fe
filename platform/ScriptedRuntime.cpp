#include "platform/ScriptedRuntime.h"

#include "platform/FileAccess.h"

#include <utility>

float ScriptedRuntime::rnd()
{
    ++draws;
    if (randomValues.empty())
        return m_fallback.next();
    const float r = randomValues.front();
    randomValues.pop_front();
    return r;
}

int ScriptedRuntime::msgBox(const QString &prompt, const QString &title)
{
    msgBoxPrompts << prompt;
    msgBoxTitles << title;
    if (msgBoxAnswers.empty())
        return No;
    const int answer = msgBoxAnswers.front();
    msgBoxAnswers.pop_front();
    return answer;
}

QString ScriptedRuntime::inputBox(const QString &prompt)
{
    inputPrompts << prompt;
    inputDescriptions << inputDescription;
    if (whileAsking)
        std::exchange(whileAsking, {})();
    if (inputAnswers.empty())
        return QString();
    const QString answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

bool ScriptedRuntime::readFileHead(const QByteArray &path, qint64 maxBytes, QByteArray &head, QString &error)
{
    ++fileReads;
    if (!readFailure.isEmpty()) {
        error = readFailure;
        return false;
    }
    return readHeadMakingFile(path, maxBytes, head, error);
}

bool ScriptedRuntime::updateFileHead(const QByteArray &path, qint64 maxBytes, const HeadUpdate &update, QString &error,
                                     InTheWay &inTheWay)
{
    ++fileWrites;
    if (!writeFailure.isEmpty()) {
        error = writeFailure;
        return false;
    }
    return updateHead(path, maxBytes, update, error, &inTheWay);
}
