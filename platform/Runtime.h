#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// The services the game logic asks of its surroundings. The windows get the
// real ones (QtRuntime); the tests get scripted ones (ScriptedRuntime).
class Runtime
{
public:
    // Answers of msgBox, as the classic message box numbers them.
    static constexpr int Yes = 6;
    static constexpr int No = 7;

    // What a file's first bytes become, given what they are now; nothing
    // leaves the file as it is.
    using HeadUpdate = std::function<std::optional<QByteArray>(const QByteArray &current)>;

    // What stands at the save lock's path and stops every save.
    struct InTheWay
    {
        QString path;
        // Who alone may remove it, where the player may not; empty otherwise.
        QString removableBy;
    };

    virtual ~Runtime() = default;

    // Re-seeds the random generator from the clock.
    virtual void randomize() = 0;
    // Next random value r, 0 <= r < 1, evenly spread.
    virtual float rnd() = 0;
    // Asks a Yes/No question with no icon, Yes the default; returns Yes or No.
    virtual int msgBox(const QString &prompt, const QString &title) = 0;
    // Asks for a line of text under the application's title; "" on Cancel.
    virtual QString inputBox(const QString &prompt) = 0;
    // What a screen reader says of the input boxes from now on besides their
    // prompt, such as why the name is asked; "" for nothing more.
    virtual void setInputDescription(const QString &description) = 0;
    // Full path of the program's folder, without a trailing separator, in
    // the system's own bytes (a folder's name need not be valid text).
    virtual QByteArray appPath() const = 0;
    // Full path of the folder that holds the records file, as appPath: the
    // program's folder unless the layout puts it elsewhere.
    virtual QByteArray recordsFolder() const { return appPath(); }
    // Closes every window and ends the program with status 0.
    virtual void end() = 0;

    // Tells the player something went wrong: the text under the application's
    // title, a warning icon and an "OK" button.
    virtual void warning(const QString &text) = 0;
    // Reads up to maxBytes from the start of the file at path into head. A
    // file that is not there is created empty, or read as empty where it
    // cannot be. False, with the system's reason in error, if the file cannot
    // be read or is no ordinary file; never waits on one.
    virtual bool readFileHead(const QByteArray &path, qint64 maxBytes, QByteArray &head, QString &error) = 0;
    // Under a lock that every game using the folder takes, reads the file's
    // first maxBytes afresh and replaces them with what update makes of them,
    // keeping the bytes beyond, as one step: whatever fails, the file holds
    // either its old or its new contents. False, with the system's reason;
    // inTheWay names the lock file when what stands there stops the save.
    virtual bool updateFileHead(const QByteArray &path, qint64 maxBytes, const HeadUpdate &update, QString &error,
                                InTheWay &inTheWay) = 0;
};
