#include "ui/GameKeys.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace {

const char16_t SlideTold[] = u"клавиша со стрелкой сдвигает в свою сторону фишку, стоящую рядом с пустой клеткой";

const std::array<GameKey, 9> Keys{{
    {Qt::Key_Left, "Left", KeyUse::Slide, Game::Arrow::Left, SlideTold},
    {Qt::Key_Right, "Right", KeyUse::Slide, Game::Arrow::Right, SlideTold},
    {Qt::Key_Up, "Up", KeyUse::Slide, Game::Arrow::Up, SlideTold},
    {Qt::Key_Down, "Down", KeyUse::Slide, Game::Arrow::Down, SlideTold},
    {Qt::Key_Tab, "Tab", KeyUse::NextStop, {}, u"клавиша %1 доводит до игрового поля, которое читает всю позицию"},
    {Qt::Key_F5, "F5", KeyUse::ReadBoard, {}, u"%1 читает её снова с любой фишки"},
    {Qt::Key_Return, "Enter", KeyUse::Press, {}, u""},
    {Qt::Key_Space, "Space", KeyUse::Press, {}, u""},
    {Qt::Key_Escape, "Escape", KeyUse::Decline, {}, u""},
}};

} // namespace

std::span<const GameKey> gameKeys()
{
    return Keys;
}

const GameKey *gameKey(int key)
{
    const auto row = std::ranges::find(Keys, key, &GameKey::key);
    return row == Keys.end() ? nullptr : &*row;
}

QString keyName(KeyUse use)
{
    return QLatin1String(std::ranges::find(Keys, use, &GameKey::use)->name);
}

QString keysTold()
{
    QStringList told;
    for (const GameKey &row : Keys) {
        QString text = QString::fromUtf16(row.told);
        if (text.contains(u"%1"))
            text = text.arg(QLatin1String(row.name));
        if (!text.isEmpty() && !told.contains(text))
            told << text;
    }
    QString sentence = told.join(QStringLiteral("; "));
    if (!sentence.isEmpty())
        sentence[0] = sentence[0].toUpper();
    return sentence;
}
