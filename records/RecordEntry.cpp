#include "records/RecordEntry.h"

#include <QList>

QString fixedName(const QString &text)
{
    QList<uint> characters = text.toUcs4();
    characters.resize(NameLength, uint(' '));
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(characters.constData()), NameLength);
}
