#pragma once

#include "xwatch.h"

#include <filesystem>
#include <optional>

// What one start of a program showed: from its exec to the map of its first
// normal window and, when asked for, to the dealt board on screen; then, after
// a second of idling, its memory in KiB.
struct Start
{
    double mappedMs = 0;
    double boardMs = 0;
    double rssKiB = 0, hwmKiB = 0, dirtyKiB = 0;
};

// Starts program in its own folder (its output appended to log), watches it
// on x's server, and ends it. Nothing if it got less far than asked in time.
std::optional<Start> timeStart(XWatch &x, const std::filesystem::path &program, const std::filesystem::path &log,
                               bool waitForBoard);
