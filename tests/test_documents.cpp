// What the game's documents say against what the code holds: the version in
// the Debian changelog and the manual page.
#include "BuildSettings.h"

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

} // namespace

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
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
