#pragma once

#include <QFont>

// The designs' face "MS Sans Serif" is not on Linux; a metric-compatible
// sans serif with Cyrillic glyphs stands in. Sizes are pixels at 96 dpi
// (8.25 pt = 11 px, 9.75 pt = 13 px, 12 pt = 16 px), so the labels fill their
// designed boxes whatever dpi the screen reports.
QFont designFont(int pixelSize, bool bold = false);

// One look and one language on every desktop: the Fusion style with its
// standard palette (a menu title selected from the keyboard shown selected),
// the windows' standard font (the design face at 8.25 pt),
// and Qt's own texts in Russian. Call once after the application object exists.
void applyAppearance();

// Qt's own texts, the system's reasons for file errors among them, in Russian
// whatever the system's language; false if Qt's Russian texts are not installed.
bool installRussianQtTexts();
