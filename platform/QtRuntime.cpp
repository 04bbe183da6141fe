#include "platform/QtRuntime.h"

#include "BuildSettings.h"
#include "platform/FileAccess.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

std::function<void(QDialog *)> &dialogHook()
{
    static std::function<void(QDialog *)> hook;
    return hook;
}

int runModal(QDialog &dialog)
{
    // Plain worded buttons, as on the classic boxes; some styles add pictures.
    for (QAbstractButton *button : dialog.findChildren<QAbstractButton *>())
        button->setIcon(QIcon());
    if (dialogHook())
        dialogHook()(&dialog);
    return dialog.exec();
}

} // namespace

void QtRuntime::setDialogHook(std::function<void(QDialog *)> hook)
{
    dialogHook() = std::move(hook);
}

void QtRuntime::randomize()
{
    m_random.reseedFromClock();
}

float QtRuntime::rnd()
{
    return m_random.next();
}

int QtRuntime::msgBox(const QString &prompt, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    // Russian whatever the system's language.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    runModal(box);
    return box.clickedButton() == box.button(QMessageBox::Yes) ? Yes : No;
}

QString QtRuntime::inputBox(const QString &prompt)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(m_appTitle);
    dialog.setLabelText(prompt);
    dialog.setAccessibleDescription(m_inputDescription);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString());
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Отмена"));
    if (runModal(dialog) != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}

QString QtRuntime::appPath() const
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

RecordsLayout QtRuntime::builtLayout()
{
    return BuiltRecordsLayout;
}

QString QtRuntime::recordsFolder() const
{
    return m_layout == RecordsLayout::PlayerData ? playerDataFolder() : appPath();
}

void QtRuntime::end()
{
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
}

void QtRuntime::warning(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, m_appTitle, text, QMessageBox::Ok, QApplication::activeWindow());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    runModal(box);
}

bool QtRuntime::readFileHead(const QString &path, qint64 maxBytes, QByteArray &head, QString &error)
{
    // Another user's folder could hand the player any file under the
    // table's name (OpenSSH turns away a key folder others own likewise).
    if (m_layout == RecordsLayout::PlayerData && !isOwnFolder(QFileInfo(path).path(), error))
        return false;
    return readHead(path, maxBytes, head, error);
}

bool QtRuntime::updateFileHead(const QString &path, qint64 maxBytes, const HeadUpdate &update, QString &error,
                               QString &lockInTheWay)
{
    // The player's data folder may not exist yet: the first save makes it.
    // A read leaves it alone, and reads a missing file as empty.
    if (m_layout == RecordsLayout::PlayerData
        && (!makeFolder(QFileInfo(path).path(), error) || !isOwnFolder(QFileInfo(path).path(), error)))
        return false;
    return updateHead(path, maxBytes, update, error, &lockInTheWay);
}
