#pragma once

#include "platform/ClockRandom.h"
#include "platform/Runtime.h"

#include <QStringList>
#include <deque>

// Services for tests: random values, answers and the program folder are
// scripted; every question asked and every re-seed is counted.
class ScriptedRuntime : public Runtime
{
public:
    // Values handed out by rnd() first; once they run out, a fixed-seed generator takes over.
    std::deque<float> randomValues;
    std::deque<int> msgBoxAnswers;       // an empty queue answers No
    std::deque<QString> inputAnswers;    // an empty queue answers "" (Cancel)
    QString programFolder;

    int reseeds = 0;
    int draws = 0;
    int ends = 0;
    QStringList msgBoxPrompts, msgBoxTitles, inputPrompts;

    void randomize() override { ++reseeds; }
    float rnd() override;
    int msgBox(const QString &prompt, const QString &title) override;
    QString inputBox(const QString &prompt) override;
    QString appPath() const override { return programFolder; }
    void end() override { ++ends; }

private:
    ClockRandom m_fallback{20261207};
};
