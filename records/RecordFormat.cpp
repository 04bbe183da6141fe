#include "records/RecordFormat.h"

#include <QHash>
#include <QList>
#include <QStringDecoder>
#include <QtEndian>
#include <array>

namespace {

constexpr char Unknown = '?';

// The Windows-1251 character of every byte, as Qt's converter reads it; the
// one byte the code page leaves undefined reads as "?".
struct CodePage
{
    std::array<char16_t, 256> toChar{};
    QHash<char32_t, char> toByte;

    CodePage()
    {
        QStringDecoder decoder("windows-1251");
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            QString text = decoder.isValid() ? decoder.decode(QByteArrayView(&byte, 1)) : QString();
            if (text.size() != 1 && b < 0x80)
                text = QString(QChar(b));
            const char16_t c = text.size() == 1 ? text.at(0).unicode() : char16_t(Unknown);
            const bool undefined = c == 0xFFFD || (c >= 0x80 && c <= 0x9F);
            toChar[b] = undefined ? char16_t(Unknown) : c;
            if (!undefined)
                toByte.insert(c, byte);
        }
    }
};

const CodePage &windows1251()
{
    static const CodePage page;
    return page;
}

} // namespace

QByteArray encodeName(const QString &name)
{
    const CodePage &page = windows1251();
    QByteArray bytes(NameLength, ' ');
    int i = 0;
    for (const uint c : name.toUcs4()) {
        if (i == NameLength)
            break;
        bytes[i++] = page.toByte.value(char32_t(c), Unknown);
    }
    return bytes;
}

QString decodeName(QByteArrayView bytes)
{
    const CodePage &page = windows1251();
    QString name(NameLength, QChar(u'\0'));
    for (qsizetype i = 0; i < NameLength && i < bytes.size(); ++i)
        name[i] = QChar(page.toChar[uchar(bytes[i])]);
    return name;
}

QByteArray encodeTable(const RecordTable &table)
{
    QByteArray bytes;
    bytes.reserve(TableSize);
    for (int16_t place = 1; place <= RecordTable::Places; ++place) {
        const RecordEntry &entry = table(place);
        const bool asRead = entry.NameBytes.size() == NameLength && decodeName(entry.NameBytes) == entry.Name;
        bytes += asRead ? entry.NameBytes : encodeName(entry.Name);
        char hod[2];
        qToLittleEndian<qint16>(entry.Hod, hod);
        bytes.append(hod, 2);
    }
    return bytes;
}

RecordTable decodeTable(QByteArrayView bytes)
{
    // Whatever the file lacks reads as zero bytes.
    QByteArray whole(bytes.first(qMin<qsizetype>(bytes.size(), TableSize)).toByteArray());
    whole.resize(TableSize, '\0');
    RecordTable table;
    for (int16_t place = 1; place <= RecordTable::Places; ++place) {
        const char *record = whole.constData() + (place - 1) * RecordSize;
        table(place).NameBytes = QByteArray(record, NameLength);
        table(place).Name = decodeName(table(place).NameBytes);
        table(place).Hod = qFromLittleEndian<qint16>(record + NameLength);
    }
    return table;
}
