// What the game's documents say against what the code holds: the key table
// in the rules window's spoken hint, the manual page and the README; the
// version in the Debian changelog and the manual page.
#include "BuildSettings.h"
#include "ui/Appearance.h"
#include "ui/FrmHelp.h"
#include "ui/GameKeys.h"

#include <QAccessible>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

QString sourceFile(const QString &path)
{
    QFile file(QStringLiteral(PROJECT_SOURCE_DIR "/") + path);
    if (!file.open(QIODevice::ReadOnly))
        qWarning("cannot read %s", qPrintable(file.fileName()));
    return QString::fromUtf8(file.readAll());
}

// The part of a text from the line `heading` to the next heading of its kind.
QString section(const QString &text, const QString &heading, const QString &next)
{
    const qsizetype start = text.indexOf(heading + u'\n');
    if (start < 0)
        return {};
    const qsizetype end = text.indexOf(u'\n' + next, start + heading.size());
    return text.mid(start, end < 0 ? -1 : end - start);
}

// The keys the manual page's KEYS section names in bold at the head of an item:
// ".B F5", ".BR Enter \", \" Space".
QStringList manualKeys()
{
    const QStringList lines = section(sourceFile(QStringLiteral("packaging/pyatnashki.6")), QStringLiteral(".SH KEYS"),
                                      QStringLiteral(".SH "))
                                  .split(u'\n');
    QStringList keys;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        if (lines[i] == QLatin1String(".TP"))
            for (const QString &key : lines[i + 1].section(u' ', 1).split(QStringLiteral("\", \"")))
                keys << key.trimmed();
    keys.sort();
    return keys;
}

QStringList tableKeys()
{
    QStringList keys;
    for (const GameKey &key : gameKeys())
        keys << QLatin1String(key.name);
    keys.sort();
    return keys;
}

bool containsWord(const QString &text, const QString &word)
{
    return text.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(word))));
}

} // namespace

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { applyAppearance(); }

    void theManualPageNamesTheKeysOfTheTable()
    {
        QCOMPARE(manualKeys(), tableKeys());
    }

    void theReadmeNamesEveryKeyOfTheTable()
    {
        const QString howToPlay = section(sourceFile(QStringLiteral("README.md")), QStringLiteral("## How to play"),
                                          QStringLiteral("## "));
        QVERIFY(howToPlay.contains(QStringLiteral("\n|")));
        for (const QString &key : tableKeys())
            QVERIFY2(containsWord(howToPlay, key), qPrintable(key));
    }

    // The keys the window plays and reads the board with are told to a screen
    // reader's user as the rules open, by the table's own words; the buttons'
    // and the question's keys go without saying.
    void theRulesTellTheWindowsKeysByTheTable()
    {
        FrmHelp rules;
        const QString told = QAccessible::queryAccessibleInterface(&rules)->text(QAccessible::Description);
        for (const GameKey &key : gameKeys()) {
            QString words = QString::fromUtf16(key.told);
            if (words.contains(u"%1"))
                words = words.arg(QLatin1String(key.name));
            const bool windowKey = key.use == KeyUse::Slide || key.use == KeyUse::ReadBoard || key.use == KeyUse::NextStop;
            QVERIFY2(words.isEmpty() != windowKey, key.name);
            QVERIFY2(told.contains(words, Qt::CaseInsensitive), key.name);
            QVERIFY2(key.use == KeyUse::Slide || containsWord(words, QLatin1String(key.name)) == windowKey, key.name);
        }
    }

    void theVersionIsCMakesEverywhere_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("pattern"); // the version is its first group
        QTest::newRow("Debian changelog") << "debian/changelog" << "^pyatnashki \\(([^)-]+)[^)]*\\)";
        QTest::newRow("manual page") << "packaging/pyatnashki.6" << "^\\.TH .* \"Pyatnashki ([^\"]+)\"";
    }
    void theVersionIsCMakesEverywhere()
    {
        QFETCH(QString, file);
        QFETCH(QString, pattern);
        const QRegularExpressionMatch match =
            QRegularExpression(pattern, QRegularExpression::MultilineOption).match(sourceFile(file));
        QVERIFY2(match.hasMatch(), qPrintable(file));
        QCOMPARE(match.captured(1), QString::fromLatin1(GameVersion));
    }
};

QTEST_MAIN(TestDocuments)
#include "test_documents.moc"
