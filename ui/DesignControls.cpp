#include "ui/DesignControls.h"

#include "ui/Twips.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>

QLabel *makeLabel(const char *name, const QString &text, QRect place, Qt::Alignment alignment, QWidget *parent)
{
    auto *label = new QLabel(parent);
    // Shown as the characters they are: a stored name like "<b>Ab</b>" is no markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    label->setAlignment(alignment | Qt::AlignTop);
    return label;
}

QGroupBox *makeFrame(const char *name, QRect place, QWidget *parent)
{
    auto *frame = new QGroupBox(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setGeometry(place);
    return frame;
}

void setLook(QLabel *label, const QFont &font, QColor colour)
{
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QFrame *makeLine(const char *name, int x1, int y, int x2, QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    line->setGeometry(tw(x1), tw(y), tw(x2) - tw(x1), 1);
    return line;
}
