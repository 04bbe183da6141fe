#pragma once

#include <QString>
#include <QStringList>

// Texts for screen readers: what the windows say besides what they show.

// A move count in words: "1 ход", "3 хода", "89 ходов".
QString movesSpoken(int moves);

// Lines read as sentences, in order: each ends with a stop unless it has one.
QString spokenLines(const QStringList &lines);

// The lines a screen reader leaves out as a dialog opens: it reads the labels
// of three words or more itself (Orca does so) and skips the shorter ones.
QStringList unreadLines(const QStringList &lines);
