#pragma once

#include <QString>

// The services the game logic asks of its surroundings. The windows get the
// real ones (QtRuntime); the tests get scripted ones (ScriptedRuntime).
class Runtime
{
public:
    // Answers of msgBox, as the classic message box numbers them.
    static constexpr int Yes = 6;
    static constexpr int No = 7;

    virtual ~Runtime() = default;

    // Re-seeds the random generator from the clock.
    virtual void randomize() = 0;
    // Next random value r, 0 <= r < 1, evenly spread.
    virtual float rnd() = 0;
    // Asks a Yes/No question with no icon, Yes the default; returns Yes or No.
    virtual int msgBox(const QString &prompt, const QString &title) = 0;
    // Asks for a line of text under the application's title; "" on Cancel.
    virtual QString inputBox(const QString &prompt) = 0;
    // Full path of the program's folder, without a trailing separator.
    virtual QString appPath() const = 0;
    // Closes every window and ends the program with status 0.
    virtual void end() = 0;
};
