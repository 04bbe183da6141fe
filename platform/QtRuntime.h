#pragma once

#include "platform/ClockRandom.h"
#include "platform/Runtime.h"

#include <functional>

class QDialog;

// The real services, on Qt's dialogs and application object.
class QtRuntime : public Runtime
{
public:
    // appTitle captions the input box, as the application's own title.
    explicit QtRuntime(QString appTitle) : m_appTitle(std::move(appTitle)) {}

    void randomize() override;
    float rnd() override;
    int msgBox(const QString &prompt, const QString &title) override;
    QString inputBox(const QString &prompt) override;
    void setInputDescription(const QString &description) override { m_inputDescription = description; }
    QString appPath() const override;
    void end() override;
    void warning(const QString &text) override;
    bool readFileHead(const QString &path, qint64 maxBytes, QByteArray &head, QString &error) override;
    bool updateFileHead(const QString &path, qint64 maxBytes, const HeadUpdate &update, QString &error) override;

    // Test hook: called with each dialog just before it runs modally, so a
    // test can read and answer it without blocking.
    static void setDialogHook(std::function<void(QDialog *)> hook);

private:
    ClockRandom m_random;
    QString m_appTitle;
    QString m_inputDescription;
};
