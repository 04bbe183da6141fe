#include "platform/QtRuntime.h"
#include "records/RecordsFile.h"
#include "ui/Appearance.h"

#include <QAccessible>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sys/stat.h>

namespace {

QStringList buttonTexts(QDialog *dialog)
{
    QStringList texts;
    for (QAbstractButton *button : dialog->findChild<QDialogButtonBox *>()->buttons())
        texts << button->text();
    texts.sort();
    return texts;
}

QAbstractButton *buttonReading(QDialog *dialog, const QString &text)
{
    for (QAbstractButton *button : dialog->findChild<QDialogButtonBox *>()->buttons())
        if (button->text() == text)
            return button;
    return nullptr;
}

// Types text key by key, Cyrillic included.
void type(QWidget *widget, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Runs `act` on each dialog once it is open, inside its own event loop.
void answerWith(std::function<void(QDialog *)> act)
{
    QtRuntime::setDialogHook([act](QDialog *dialog) { QTimer::singleShot(0, dialog, [dialog, act] { act(dialog); }); });
}

// Sets an environment variable (unset for nullopt) until it goes out of scope.
class EnvSetting
{
public:
    EnvSetting(const char *name, std::optional<QByteArray> value)
        : m_name(name), m_old(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
    {
        set(value);
    }
    ~EnvSetting() { set(m_old); }

private:
    void set(const std::optional<QByteArray> &value)
    {
        if (value)
            qputenv(m_name, *value);
        else
            qunsetenv(m_name);
    }
    const char *m_name;
    std::optional<QByteArray> m_old;
};

int modeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

} // namespace

// The real dialogs, read and answered as a player would, in Russian under any locale.
class TestRuntime : public QObject
{
    Q_OBJECT

public:
    // Started with FIRST_DRAWS_ONLY set, this program is one start of the game
    // for twoStartsAtOnceDrawDifferentValues: it re-seeds as the game does,
    // prints its first draws and ends.
    static void initMain()
    {
        if (!qEnvironmentVariableIsSet("FIRST_DRAWS_ONLY"))
            return;
        QtRuntime runtime(QStringLiteral("Пятнашки"));
        runtime.randomize();
        for (int i = 0; i < 4; ++i)
            std::printf("%.9g\n", double(runtime.rnd()));
        std::exit(0);
    }

private slots:
    void initTestCase() { applyAppearance(); }
    void cleanup() { QtRuntime::setDialogHook({}); }

    void questionBoxAsksInRussianWithYesAsDefault()
    {
        QtRuntime runtime(QStringLiteral("Пятнашки"));
        answerWith([](QDialog *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            QVERIFY(box);
            QCOMPARE(box->text(), QStringLiteral("Выйти?"));
            QCOMPARE(box->windowTitle(), QStringLiteral("Заголовок"));
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(buttonTexts(box), QStringList({"Да", "Нет"}));
            QCOMPARE(box->defaultButton()->text(), QStringLiteral("Да"));
            buttonReading(box, QStringLiteral("Да"))->click();
        });
        QCOMPARE(runtime.msgBox(QStringLiteral("Выйти?"), QStringLiteral("Заголовок")), Runtime::Yes);
    }

    void warningShowsItsTextUnderTheTitleWithOneOkButton()
    {
        QtRuntime runtime(QStringLiteral("Пятнашки"));
        bool shown = false;
        answerWith([&shown](QDialog *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            QVERIFY(box);
            QCOMPARE(box->text(), QStringLiteral("Файл не сохранён."));
            QCOMPARE(box->windowTitle(), QStringLiteral("Пятнашки"));
            QCOMPARE(box->icon(), QMessageBox::Warning);
            QCOMPARE(buttonTexts(box), QStringList({"OK"}));
            shown = true;
            buttonReading(box, QStringLiteral("OK"))->click();
        });
        runtime.warning(QStringLiteral("Файл не сохранён."));
        QVERIFY(shown);
    }

    void questionBoxAnswersNoForNoEscapeAndClosing()
    {
        QtRuntime runtime(QStringLiteral("Пятнашки"));
        answerWith([](QDialog *dialog) { buttonReading(dialog, QStringLiteral("Нет"))->click(); });
        QCOMPARE(runtime.msgBox(QStringLiteral("?"), QStringLiteral("t")), Runtime::No);
        answerWith([](QDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        QCOMPARE(runtime.msgBox(QStringLiteral("?"), QStringLiteral("t")), Runtime::No);
        answerWith([](QDialog *dialog) { dialog->close(); });
        QCOMPARE(runtime.msgBox(QStringLiteral("?"), QStringLiteral("t")), Runtime::No);
        answerWith([](QDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Return); });
        QCOMPARE(runtime.msgBox(QStringLiteral("?"), QStringLiteral("t")), Runtime::Yes);
    }

    void inputBoxStartsEmptyUnderTheApplicationsTitle()
    {
        QtRuntime runtime(QStringLiteral("Пятнашки"));
        runtime.setInputDescription(QStringLiteral("Головоломка решена за 89 ходов."));
        answerWith([](QDialog *dialog) {
            auto *input = qobject_cast<QInputDialog *>(dialog);
            QVERIFY(input);
            QCOMPARE(input->windowTitle(), QStringLiteral("Пятнашки"));
            QCOMPARE(QAccessible::queryAccessibleInterface(input)->text(QAccessible::Description),
                     QStringLiteral("Головоломка решена за 89 ходов."));
            QCOMPARE(input->labelText(), QStringLiteral("КАК ВАШЕ ИМЯ, НОВЫЙ РЕКОРДСМЕН?"));
            QCOMPARE(buttonTexts(input), QStringList({"OK", "Отмена"}));
            auto *field = input->findChild<QLineEdit *>();
            QCOMPARE(field->text(), QString());
            type(field, QStringLiteral("Вася Пупкин"));
            QTest::keyClick(field, Qt::Key_Return);
        });
        QCOMPARE(runtime.inputBox(QStringLiteral("КАК ВАШЕ ИМЯ, НОВЫЙ РЕКОРДСМЕН?")), QStringLiteral("Вася Пупкин"));
    }

    void inputBoxGivesEmptyTextOnCancel()
    {
        QtRuntime runtime(QStringLiteral("Пятнашки"));
        answerWith([](QDialog *dialog) {
            QTest::keyClicks(dialog->findChild<QLineEdit *>(), QStringLiteral("typed"));
            buttonReading(dialog, QStringLiteral("Отмена"))->click();
        });
        QCOMPARE(runtime.inputBox(QStringLiteral("?")), QString());
        answerWith([](QDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        QCOMPARE(runtime.inputBox(QStringLiteral("?")), QString());
    }

    void twoStartsAtOnceDrawDifferentValues()
    {
        // Otherwise every start of the program would deal the same games.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("FIRST_DRAWS_ONLY"), QStringLiteral("1"));
        std::array<QProcess, 2> starts;
        for (QProcess &start : starts) {
            start.setProcessEnvironment(environment);
            start.start(QCoreApplication::applicationFilePath(), {});
        }
        QStringList draws;
        for (QProcess &start : starts) {
            QVERIFY(start.waitForFinished());
            QCOMPARE(start.exitCode(), 0);
            draws << QString::fromLatin1(start.readAllStandardOutput());
            QCOMPARE(draws.last().split(u'\n', Qt::SkipEmptyParts).size(), 4);
        }
        QVERIFY2(draws[0] != draws[1], qPrintable(draws[0]));
    }

    void qtsOwnWordsAreRussianUnderAnyLocale()
    {
        QLineEdit field;
        std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        QStringList words;
        for (QAction *action : menu->actions())
            if (!action->isSeparator())
                words << action->text().section(u'\t', 0, 0);
        QVERIFY(words.contains(QStringLiteral("&Копировать")));
        QVERIFY(words.contains(QStringLiteral("В&ставить")));
    }

    void programFolderIsTheExecutablesFolderWithoutTrailingSeparator()
    {
        QtRuntime runtime(QStringLiteral("Пятнашки"));
        const QString folder = runtime.appPath();
        QCOMPARE(folder, QCoreApplication::applicationDirPath());
        QVERIFY(!folder.endsWith(u'/'));
        QVERIFY(QFileInfo(folder + QStringLiteral("/test_runtime")).isExecutable());
    }

    // A system install keeps the records in the player's data folder, made on
    // the first save only; a portable one beside the program, as ever.
    void recordsLiveBesideTheProgramOrInThePlayersDataFolder()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QString beside = QCoreApplication::applicationDirPath();
        const auto besideEntries = [&beside] {
            return QDir(beside).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        };
        const QStringList before = besideEntries();
        EnvSetting homeSetting("HOME", home.path().toLocal8Bit());

        const QString fallback = home.path() + QStringLiteral("/.local/share/pyatnashki");
        const std::pair<std::optional<QByteArray>, QString> dataHomes[] = {
            {std::nullopt, fallback},
            {QByteArray(), fallback},
            {QByteArrayLiteral("relative/data"), fallback},
            {(home.path() + QStringLiteral("/данные/")).toLocal8Bit(), home.path() + QStringLiteral("/данные/pyatnashki")},
        };
        QtRuntime portable(QStringLiteral("Пятнашки"), RecordsLayout::Portable);
        QtRuntime system(QStringLiteral("Пятнашки"), RecordsLayout::System);
        for (const auto &[dataHome, folder] : dataHomes) {
            EnvSetting dataHomeSetting("XDG_DATA_HOME", dataHome);
            QCOMPARE(recordsPath(system), folder + QStringLiteral("/Records.dat"));
            QCOMPARE(recordsPath(portable), beside + QStringLiteral("/Records.dat"));
        }

        EnvSetting noDataHome("XDG_DATA_HOME", std::nullopt);
        const QString path = recordsPath(system);
        RecordTable table;
        table(1).Hod = 5;
        QString error;
        QVERIFY2(readTable(system, path, table, error), qPrintable(error));
        QCOMPARE(table, RecordTable{});
        QVERIFY2(!QFileInfo::exists(home.path() + QStringLiteral("/.local")), "a read made the folder");

        table(1) = RecordEntry{fixedName(QStringLiteral("abc")), 123};
        QVERIFY2(writeTable(system, path, table, error), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().left(12), QByteArray("abc       \x7b\0", 12));
        QCOMPARE(file.size(), 60);
        for (const QString &made : {home.path() + QStringLiteral("/.local"), home.path() + QStringLiteral("/.local/share"), fallback})
            QCOMPARE(modeOf(made), 0700);
        QCOMPARE(QDir(fallback).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Records.dat")});
        QCOMPARE(besideEntries(), before);
    }

    void endingClosesEveryWindowAndLeavesTheLoopWithStatusZero()
    {
        QtRuntime runtime(QStringLiteral("Пятнашки"));
        QWidget window;
        window.show();
        QTimer::singleShot(0, [&runtime] { runtime.end(); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestRuntime)
#include "test_runtime.moc"
