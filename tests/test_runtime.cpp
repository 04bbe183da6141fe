#include "platform/QtRuntime.h"
#include "ui/Appearance.h"

#include <QAccessible>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <array>
#include <cstdio>
#include <cstdlib>

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
