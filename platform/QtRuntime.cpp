#include "platform/QtRuntime.h"

#include "BuildSettings.h"
#include "platform/FileAccess.h"

#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <climits>
#include <unistd.h>

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

QByteArray QtRuntime::appPath() const
{
    // As the system names it: Qt's own answer is text, and a folder whose
    // name is no valid text would lose bytes on the way.
    char program[PATH_MAX];
    const ssize_t size = ::readlink("/proc/self/exe", program, sizeof program);
    if (size <= 0 || size == ssize_t(sizeof program))
        return QFile::encodeName(QCoreApplication::applicationDirPath());
    const QByteArray path(program, size);
    return path.left(std::max<qsizetype>(path.lastIndexOf('/'), 1));
}

RecordsLayout QtRuntime::builtLayout()
{
    return BuiltRecordsLayout;
}

QByteArray QtRuntime::recordsFolder() const
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

bool QtRuntime::readFileHead(const QByteArray &path, qint64 maxBytes, QByteArray &head, QString &error)
{
    // Another user's folder could hand the player any file under the
    // table's name (OpenSSH turns away a key folder others own likewise).
    // A read makes no folder, and reads a missing file as empty.
    return readHeadMakingFile(path, maxBytes, head, error, {.ownFolder = m_layout == RecordsLayout::PlayerData});
}

bool QtRuntime::updateFileHead(const QByteArray &path, qint64 maxBytes, const HeadUpdate &update, QString &error,
                               InTheWay &inTheWay)
{
    // The player's data folder may not exist yet: the first save makes it.
    const bool dataFolder = m_layout == RecordsLayout::PlayerData;
    return updateHead(path, maxBytes, update, error, &inTheWay, {.makeFolders = dataFolder, .ownFolder = dataFolder});
}
