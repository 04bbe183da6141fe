#pragma once

#include <QColor>
#include <QRect>
#include <Qt>

class QFont;
class QFrame;
class QGroupBox;
class QLabel;
class QString;
class QWidget;

// Controls placed as the window designs place them: named after the design,
// at a fixed place in their container, no layouts.

// A label at `place`, its text aligned to the top edge as the classic labels are
// and always plain text, never read as markup.
QLabel *makeLabel(const char *name, const QString &text, QRect place, Qt::Alignment alignment, QWidget *parent);

// A frame without a caption at `place`; the controls inside it are placed from its corner.
QGroupBox *makeFrame(const char *name, QRect place, QWidget *parent);

// Gives a label its own font and text colour.
void setLook(QLabel *label, const QFont &font, QColor colour);

// A plain one-pixel line in the text colour from (x1, y) to (x2, y), in twips.
QFrame *makeLine(const char *name, int x1, int y, int x2, QWidget *parent);
