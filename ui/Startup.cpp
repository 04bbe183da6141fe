#include "ui/Startup.h"

#include "BuildSettings.h"
#include "ui/Appearance.h"
#include "ui/FrmMain.h"

#include <QCommandLineParser>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// Russian in UTF-8 whatever the locale, like the rest of the interface.
void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
}

void tellNoDesktop()
{
    print(stderr, QStringLiteral("Игре «%1» нужен графический рабочий стол: запустите её в сеансе рабочего стола.\n")
                      .arg(FrmMain::Title));
}

// Qt's own options, which QApplication takes from the same command line: a
// session manager restarts the game with -session, a player may pick -platform.
void acceptQtOptions(QCommandLineParser &parser)
{
    const char *const withValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                     "qwindowicon", "qwindowtitle", "session", "display", "name", "geometry",
                                     "style", "stylesheet"};
    const char *const flags[] = {"reverse", "widgetcount", "nograb", "dograb"};
    for (const char *name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

QtMessageHandler qtMessages = nullptr;

// While the application is made, Qt's one fatal error is a display it cannot
// open: the player hears why, and the program ends without a core dump.
void refuseWithoutDesktop(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        qtMessages(type, context, message);
        return;
    }
    tellNoDesktop();
    std::_Exit(1);
}

} // namespace

std::optional<int> answerCommandLine(int argc, char *argv[])
{
    QCoreApplication core(argc, argv);
    installRussianQtTexts(); // Qt's words in the usage: «Использование», «Параметры»
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("«%1»: головоломка «15» для рабочего стола.").arg(FrmMain::Title));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Показать эту справку и выйти."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Показать версию игры и выйти."));
    parser.addOption(help);
    parser.addOption(version);
    acceptQtOptions(parser);

    const bool parsed = parser.parse(QCoreApplication::arguments());
    const QStringList extra = parser.positionalArguments();
    if (!parsed || !extra.isEmpty()) {
        const QString why = parsed ? QStringLiteral("Лишний аргумент «%1».").arg(extra.first()) : parser.errorText();
        print(stderr, why + QStringLiteral("\n\n") + parser.helpText());
        return 2;
    }
    if (parser.isSet(help)) {
        print(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, FrmMain::Title + u' ' + QLatin1String(GameVersion) + u'\n');
        return 0;
    }
    return std::nullopt;
}

std::unique_ptr<QApplication> openDesktop(int &argc, char *argv[])
{
    // Without a platform chosen, Qt looks for X11 or Wayland through these two.
    const bool platformChosen = qEnvironmentVariableIsSet("QT_QPA_PLATFORM")
        || std::any_of(argv + 1, argv + argc, [](const char *arg) {
               return qstrcmp(arg, "-platform") == 0 || qstrcmp(arg, "--platform") == 0;
           });
    if (!platformChosen && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        tellNoDesktop();
        return nullptr;
    }
    qtMessages = qInstallMessageHandler(refuseWithoutDesktop);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(qtMessages);

    // The dock and the task switcher tie the window to its menu entry by
    // these: the entry's name on Wayland, its StartupWMClass on X11.
    QGuiApplication::setDesktopFileName(QLatin1String(MenuEntryId));
    QCoreApplication::setApplicationName(QStringLiteral("pyatnashki"));
    return app;
}
