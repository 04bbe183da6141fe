#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The game's pictures, drawn at run time. Each takes the device pixel ratio
// it will be shown at, so it is drawn sharp on dense screens; the returned
// pixmap carries that ratio and has the stated size in device-independent pixels.

// Tile picture n, 1 to BlankTile, 50 x 50: a white disc with a thin black
// outline and the black number on a lavender ground; BlankTile is the plain
// blue-violet blank.
QPixmap tilePicture(int n, qreal dpr = 1.0);

// A picture button's face, 100 x 20: a band shading from green at the top to
// almost white at the bottom, the word centred in dark red bold italic with a
// black outline.
QPixmap buttonPicture(const QString &word, qreal dpr = 1.0);

// The game's picture: a black "15" filling a yellow square, size x size.
QPixmap gamePicture(int size, qreal dpr = 1.0);
// The main window's icon, the game's picture at the usual icon sizes.
QIcon gameIcon();

// The rules window's icon: a yellow question mark on a transparent ground.
QIcon rulesIcon();

// The records window's picture: a golden cup on a dark plinth, crowned by a
// gold medal with a black "1", on white; designed at 79 x 125 and stretched
// (unevenly if need be) to fill size.
QPixmap cupPicture(QSize size, qreal dpr = 1.0);
// The records window's icon: a grey classical column in flat colours on a
// transparent ground.
QIcon columnIcon();
