#pragma once

#include "platform/ClockRandom.h"
#include "platform/Runtime.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>

// Services for tests: random values, answers and the program folder are
// scripted; every question asked and every re-seed is counted.
class ScriptedRuntime : public Runtime
{
public:
    // Values handed out by rnd() first; once they run out, a fixed-seed generator takes over.
    std::deque<float> randomValues;
    std::deque<int> msgBoxAnswers;       // an empty queue answers No
    std::deque<QString> inputAnswers;    // an empty queue answers "" (Cancel)
    // Runs once while the next input box is open, as another game might.
    std::function<void()> whileAsking;
    // The program's folder: a fresh temporary folder of its own unless a test
    // points it elsewhere. Files in it are real; a reason set here makes every
    // read or write fail with it, touching nothing.
    QTemporaryDir folder;
    QString programFolder = folder.path();
    QString readFailure, writeFailure;

    int reseeds = 0;
    int draws = 0;
    int ends = 0;
    int fileReads = 0;
    int fileWrites = 0;
    QStringList msgBoxPrompts, msgBoxTitles, inputPrompts, warnings;
    QString inputDescription;
    QStringList inputDescriptions; // the description each input box was asked with

    void randomize() override { ++reseeds; }
    float rnd() override;
    int msgBox(const QString &prompt, const QString &title) override;
    QString inputBox(const QString &prompt) override;
    void setInputDescription(const QString &description) override { inputDescription = description; }
    QByteArray appPath() const override { return QFile::encodeName(programFolder); }
    void end() override { ++ends; }
    void warning(const QString &text) override { warnings << text; }
    bool readFileHead(const QByteArray &path, qint64 maxBytes, QByteArray &head, QString &error) override;
    bool updateFileHead(const QByteArray &path, qint64 maxBytes, const HeadUpdate &update, QString &error,
                        InTheWay &inTheWay) override;

private:
    ClockRandom m_fallback{20261207};
};
