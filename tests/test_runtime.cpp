#include "platform/QtRuntime.h"
#include "support/Processes.h"
#include "records/RecordFormat.h"
#include "support/TableFile.h"
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
#include <filesystem>
#include <optional>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
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
    // prints its first draws and ends. Started with SAVE_BESIDE_ME set, it is
    // a portable game that saves a table and says how that went.
    static void initMain()
    {
        if (qEnvironmentVariableIsSet("SAVE_BESIDE_ME")) {
            QtRuntime portable(QStringLiteral("Пятнашки"), RecordsLayout::Portable);
            QString error;
            const bool saved = writeTable(portable, recordsPath(portable), RecordTable{}, error);
            std::fputs(saved ? "saved" : error.toUtf8().constData(), stdout);
            std::exit(0);
        }
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
        const QString folder = QFile::decodeName(runtime.appPath());
        QCOMPARE(folder, QCoreApplication::applicationDirPath());
        QVERIFY(!folder.endsWith(u'/'));
        QVERIFY(QFileInfo(folder + QStringLiteral("/test_runtime")).isExecutable());

        // A folder named in bytes that are no text (from an old archive, or
        // another system's disk) is the folder all the same.
        QTemporaryDir top;
        const QByteArray game = QFile::encodeName(top.path()) + "/game\xff";
        QVERIFY(::mkdir(game.constData(), 0755) == 0);
        // Named as bytes throughout: Qt's text would lose the one that is no letter.
        const std::string copy = (game + "/test_runtime").toStdString();
        QVERIFY(std::filesystem::copy_file(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(), copy));
        std::FILE *start = ::popen(("SAVE_BESIDE_ME=1 '" + copy + "'").c_str(), "r");
        QVERIFY(start);
        char said[256] = {};
        const size_t size = std::fread(said, 1, sizeof said - 1, start);
        QCOMPARE(::pclose(start), 0);
        QCOMPARE(QString::fromUtf8(said, qsizetype(size)), QStringLiteral("saved"));
        struct stat saved {};
        QVERIFY(::stat((game + "/Records.dat").constData(), &saved) == 0);
        QCOMPARE(saved.st_size, off_t(TableSize));
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
        QtRuntime system(QStringLiteral("Пятнашки"), RecordsLayout::PlayerData);
        for (const auto &[dataHome, folder] : dataHomes) {
            EnvSetting dataHomeSetting("XDG_DATA_HOME", dataHome);
            QCOMPARE(recordsPath(system), QFile::encodeName(folder + QStringLiteral("/Records.dat")));
            QCOMPARE(recordsPath(portable), QFile::encodeName(beside + QStringLiteral("/Records.dat")));
        }

        EnvSetting noDataHome("XDG_DATA_HOME", std::nullopt);
        const QByteArray path = recordsPath(system);
        RecordTable table;
        table(1).Hod = 5;
        QString error;
        QVERIFY2(readTable(system, path, table, error), qPrintable(error));
        QCOMPARE(table, RecordTable{});
        QVERIFY2(!QFileInfo::exists(home.path() + QStringLiteral("/.local")), "a read made the folder");

        table(1) = RecordEntry{fixedName(QStringLiteral("abc")), 123};
        QVERIFY2(writeTable(system, path, table, error), qPrintable(error));
        QFile file(QFile::decodeName(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().left(12), QByteArray("abc       \x7b\0", 12));
        QCOMPARE(file.size(), 60);
        for (const QString &made : {home.path() + QStringLiteral("/.local"), home.path() + QStringLiteral("/.local/share"), fallback})
            QCOMPARE(modeOf(made), 0700);
        QCOMPARE(QDir(fallback).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Records.dat")});
        QCOMPARE(besideEntries(), before);
    }

    // The system layout keeps to the folders of the user the game runs as:
    // nothing is made in another user's folder and no records folder of
    // theirs is used. Messages name absolute paths and the real reason.
    void theDataFolderIsThePlayersOwnOrRefusedByName()
    {
        QTemporaryDir home;
        EnvSetting homeSetting("HOME", QFile::encodeName(home.path()));
        QtRuntime system(QStringLiteral("Пятнашки"), RecordsLayout::PlayerData);
        RecordTable table;
        table(1).Hod = 5;
        QString error;
        const QString dangling = home.filePath(QStringLiteral("dangling"));
        QVERIFY(::symlink("nowhere", QFile::encodeName(dangling).constData()) == 0);
        {
            EnvSetting dataHome("XDG_DATA_HOME", QFile::encodeName(dangling));
            QVERIFY(!writeTable(system, recordsPath(system), table, error));
            QCOMPARE(error, QStringLiteral("Символическая ссылка %1 ведёт в nowhere, а такой папки нет").arg(dangling));
        }
        {
            // A folder on the way that cannot be looked up is no folder to do without: its reason is told.
            const QByteArray file = QFile::encodeName(home.filePath(QStringLiteral("file")));
            QVERIFY(QFile(QFile::decodeName(file)).open(QIODevice::WriteOnly));
            EnvSetting dataHome("XDG_DATA_HOME", file + "/data");
            QString readError;
            QVERIFY(!readTable(system, recordsPath(system), table, readError));
            QVERIFY(!writeTable(system, recordsPath(system), table, error));
            QCOMPARE(readError, QStringLiteral("Часть пути не является каталогом"));
            QCOMPARE(error, readError);
            QVERIFY(QFile::remove(QFile::decodeName(file)));
        }
        if (::geteuid() != 0)
            QSKIP("only root can plant files as two users here");

        // Root started with a player's HOME saves into its own home, here a
        // disk of the child's own, and makes nothing in the player's; nor do
        // the libraries, which are shown root's home from the start.
        QVERIFY(::chown(QFile::encodeName(home.path()).constData(), Player, Player) == 0);
        EnvSetting noDataHome("XDG_DATA_HOME", std::nullopt);
        EnvSetting configHome("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
        EnvSetting cacheHome("XDG_CACHE_HOME", "/var/cache/elsewhere");
        const QString rootHome = QFile::decodeName(::getpwuid(0)->pw_dir);
        int status = 0;
        QByteArray report = inChild([&] {
            if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
                || ::mount("tmpfs", QFile::encodeName(rootHome).constData(), "tmpfs", 0, "mode=0700") != 0)
                ::_exit(CannotSetUp);
            const bool saved = writeTable(system, recordsPath(system), table, error);
            keepRootInItsOwnHome();
            return packed(saved, error, recordsPath(system), qgetenv("HOME"),
                          qEnvironmentVariableIsSet("XDG_CONFIG_HOME"), qgetenv("XDG_CACHE_HOME"));
        }, status);
        if (WIFEXITED(status) && WEXITSTATUS(status) == CannotSetUp)
            QSKIP("cannot mount a disk over root's home here");
        QCOMPARE(status, 0);
        bool saved = false, configKept = true;
        QByteArray path, homeSeen, cacheSeen;
        unpack(report, saved, error, path, homeSeen, configKept, cacheSeen);
        QVERIFY2(saved, qPrintable(error));
        QCOMPARE(path, QFile::encodeName(rootHome + QStringLiteral("/.local/share/pyatnashki/Records.dat")));
        QCOMPARE(homeSeen, QFile::encodeName(rootHome));
        QVERIFY(!configKept);
        QCOMPARE(cacheSeen, QByteArray("/var/cache/elsewhere"));
        QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("dangling")});

        // A player with no entry in the password database and a relative HOME.
        EnvSetting relativeHome("HOME", "relative/home");
        report = asUser(Player, [&] {
            if (::chdir(QFile::encodeName(home.path()).constData()) != 0)
                ::_exit(1);
            return packed(recordsPath(system));
        }, status);
        QCOMPARE(status, 0);
        unpack(report, path);
        QCOMPARE(path, QFile::encodeName(home.path() + QStringLiteral("/relative/home/.local/share/pyatnashki/Records.dat")));
        // ... or with another user's HOME, open to all: nothing is made in it.
        QTemporaryDir theirs;
        QVERIFY(::chown(QFile::encodeName(theirs.path()).constData(), Intruder, Intruder) == 0
                && ::chmod(QFile::encodeName(theirs.path()).constData(), 0777) == 0);
        EnvSetting theirHome("HOME", QFile::encodeName(theirs.path()));
        report = asUser(Player, [&] { return packed(writeTable(system, recordsPath(system), table, error), error); }, status);
        QCOMPARE(status, 0);
        unpack(report, saved, error);
        QVERIFY(!saved);
        QCOMPARE(error, QStringLiteral("Папка %1 принадлежит другому пользователю (61002); игра ничего в ней не создаёт")
                            .arg(theirs.path()));
        QCOMPARE(QDir(theirs.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{});

        // Another user's records folder, open to all, holding a table of theirs.
        const QString folder = home.filePath(QStringLiteral("pyatnashki")), file = folder + QStringLiteral("/Records.dat");
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("pyatnashki")));
        QFile planted(file);
        QVERIFY(planted.open(QIODevice::WriteOnly) && planted.write("theirs") == 6);
        planted.close();
        for (const QString &made : {folder, file})
            QVERIFY(::chown(QFile::encodeName(made).constData(), Intruder, Intruder) == 0
                    && ::chmod(QFile::encodeName(made).constData(), 0777) == 0);
        EnvSetting dataHome("XDG_DATA_HOME", QFile::encodeName(home.path()));
        report = asUser(Player, [&] {
            QString readError, saveError;
            const bool read = readTable(system, QFile::encodeName(file), table, readError);
            const bool stored = writeTable(system, QFile::encodeName(file), table, saveError);
            return packed(read, stored, readError, saveError);
        }, status);
        QCOMPARE(status, 0);
        bool read = true, stored = true;
        QString readError, saveError;
        unpack(report, read, stored, readError, saveError);
        const QString refusal = QStringLiteral("Папка %1 принадлежит другому пользователю (61002); игра не читает и не "
                                               "пишет рекорды в чужой папке").arg(folder);
        QVERIFY(!read && !stored);
        QCOMPARE(readError, refusal);
        QCOMPARE(saveError, refusal);
        QVERIFY(planted.open(QIODevice::ReadOnly));
        QCOMPARE(planted.readAll(), QByteArray("theirs"));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Records.dat")});
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
