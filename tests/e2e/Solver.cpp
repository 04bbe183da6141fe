#include "Solver.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <unordered_map>

namespace {

constexpr int Blank = 16;

bool adjacent(int a, int b)
{
    return (a / 4 == b / 4 && (a - b == 1 || b - a == 1)) || a - b == 4 || b - a == 4;
}

// A state packs the blank's cell and then each tracked tile's cell, four bits
// apiece; the other tiles are interchangeable here.
uint32_t pack(const std::vector<int> &cells)
{
    uint32_t state = 0;
    for (size_t i = 0; i < cells.size(); ++i)
        state |= uint32_t(cells[i]) << (4 * i);
    return state;
}

int cellIn(uint32_t state, size_t item)
{
    return int(state >> (4 * item)) & 15;
}

// Places `tiles` on their home cells with the blank kept to cells >= `first`
// (the rows above are done); with `blankHome` the blank must end in the last
// cell too. Clicks are appended; false if the goal cannot be reached.
bool stage(Board &board, const std::vector<int> &tiles, int first, bool blankHome, std::vector<int> &clicks)
{
    std::vector<int> start{int(std::find(board.begin(), board.end(), Blank) - board.begin())};
    uint32_t goal = blankHome ? 15 : 0;
    for (size_t i = 0; i < tiles.size(); ++i) {
        start.push_back(int(std::find(board.begin(), board.end(), tiles[i]) - board.begin()));
        goal |= uint32_t(tiles[i] - 1) << (4 * (i + 1));
    }
    // Every item's bits count, but the blank's only when its cell is part of the goal.
    const auto all = uint32_t((uint64_t(1) << (4 * (tiles.size() + 1))) - 1);
    const uint32_t mask = blankHome ? all : all & ~uint32_t(15);
    const uint32_t from = pack(start);

    std::unordered_map<uint32_t, uint32_t> previous{{from, from}};
    std::deque<uint32_t> queue{from};
    std::optional<uint32_t> reached;
    while (!queue.empty() && !reached) {
        const uint32_t state = queue.front();
        queue.pop_front();
        if ((state & mask) == (goal & mask)) {
            reached = state;
            break;
        }
        const int blank = cellIn(state, 0);
        for (const int step : {-4, 4, -1, 1}) {
            const int next = blank + step;
            if (next < first || next > 15 || !adjacent(blank, next))
                continue;
            uint32_t moved = (state & ~uint32_t(15)) | uint32_t(next);
            for (size_t i = 1; i <= tiles.size(); ++i)
                if (cellIn(state, i) == next)
                    moved = (moved & ~(uint32_t(15) << (4 * i))) | (uint32_t(blank) << (4 * i));
            if (previous.emplace(moved, state).second)
                queue.push_back(moved);
        }
    }
    if (!reached)
        return false;

    std::vector<int> path;
    for (uint32_t s = *reached; s != from; s = previous[s])
        path.push_back(cellIn(s, 0));
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        board = *afterClick(board, *it);
        clicks.push_back(*it);
    }
    return true;
}

} // namespace

std::optional<Board> afterClick(const Board &board, int cell)
{
    const int blank = int(std::find(board.begin(), board.end(), Blank) - board.begin());
    if (cell < 0 || cell > 15 || !adjacent(blank, cell))
        return std::nullopt;
    Board next = board;
    std::swap(next[blank], next[cell]);
    return next;
}

std::optional<std::vector<int>> solve(Board board)
{
    std::vector<int> clicks;
    if (!stage(board, {1, 2, 3, 4}, 0, false, clicks) || !stage(board, {5, 6, 7, 8}, 4, false, clicks)
        || !stage(board, {9, 10, 11, 12, 13, 14, 15}, 8, true, clicks))
        return std::nullopt;
    return clicks;
}
