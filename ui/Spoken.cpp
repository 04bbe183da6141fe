#include "ui/Spoken.h"

QString movesSpoken(int moves)
{
    const int lastTwo = moves % 100, last = moves % 10;
    const char16_t *word = u"ходов";
    if (last == 1 && lastTwo != 11)
        word = u"ход";
    else if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14))
        word = u"хода";
    return QString::number(moves) + u' ' + QString::fromUtf16(word);
}

QString spokenLines(const QStringList &lines)
{
    QStringList sentences;
    for (const QString &line : lines) {
        // A line of the design may end in blanks, and a label's text may be several lines.
        QString sentence = line.simplified();
        if (sentence.isEmpty())
            continue;
        if (!QStringLiteral(".!?").contains(sentence.back()))
            sentence += u'.';
        sentences << sentence;
    }
    return sentences.join(u' ');
}

QStringList unreadLines(const QStringList &lines)
{
    QStringList unread;
    for (const QString &line : lines)
        if (line.simplified().count(u' ') < 2)
            unread << line;
    return unread;
}
