#pragma once

#include "platform/ClockRandom.h"
#include "platform/RecordsFolder.h"
#include "platform/Runtime.h"

#include <functional>

class QDialog;

// The real services, on Qt's dialogs and application object.
class QtRuntime : public Runtime
{
public:
    // appTitle captions the input box, as the application's own title; layout
    // says where the records live, by default as this program was built.
    explicit QtRuntime(QString appTitle, RecordsLayout layout = builtLayout())
        : m_appTitle(std::move(appTitle)), m_layout(layout)
    {
    }

    // The layout chosen when the program was built (PYATNASHKI_RECORDS).
    static RecordsLayout builtLayout();

    void randomize() override;
    float rnd() override;
    int msgBox(const QString &prompt, const QString &title) override;
    QString inputBox(const QString &prompt) override;
    void setInputDescription(const QString &description) override { m_inputDescription = description; }
    QByteArray appPath() const override;
    QByteArray recordsFolder() const override;
    void end() override;
    void warning(const QString &text) override;
    bool readFileHead(const QByteArray &path, qint64 maxBytes, QByteArray &head, QString &error) override;
    bool updateFileHead(const QByteArray &path, qint64 maxBytes, const HeadUpdate &update, QString &error,
                        InTheWay &inTheWay) override;

    // Test hook: called with each dialog just before it runs modally, so a
    // test can read and answer it without blocking.
    static void setDialogHook(std::function<void(QDialog *)> hook);

private:
    ClockRandom m_random;
    QString m_appTitle;
    RecordsLayout m_layout;
    QString m_inputDescription;
};
