#pragma once

#include "records/RecordsView.h"

#include <QStringList>
#include <array>

// A records window without widgets: keeps what the logic puts on it and what
// it showed at each opening.
class FakeRecordsView : public RecordsView
{
public:
    struct Opening
    {
        bool resultVisible;
        QString result;
        QStringList names, moves;
    };

    bool resultVisible = true;
    QString result;
    std::array<QString, 6> names, moves; // places 1..5
    QList<Opening> openings;
    int unloads = 0;

    void setResultVisible(bool visible) override { resultVisible = visible; }
    void setResultText(const QString &text) override { result = text; }
    void setPlace(int16_t place, const QString &name, const QString &count) override
    {
        names.at(place) = name;
        moves.at(place) = count;
    }
    void showModal() override
    {
        openings << Opening{resultVisible, result, QStringList(names.begin() + 1, names.end()),
                            QStringList(moves.begin() + 1, moves.end())};
        unload();
    }
    // Back to the design: the result line visible and empty.
    void unload() override
    {
        ++unloads;
        resultVisible = true;
        result.clear();
        names = {};
        moves = {};
    }
};
