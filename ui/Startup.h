#pragma once

#include <QApplication>
#include <memory>
#include <optional>

// What the command line asks, answered before any window or display is
// needed: --help and --version print and give 0, a wrong argument prints why
// with the usage and gives 2. Nothing when the game is to start.
std::optional<int> answerCommandLine(int argc, char *argv[]);

// The application on the player's desktop, its windows named for the menu
// entry the game was installed with; nothing, after a word to the player,
// when there is no graphical desktop to show them on.
std::unique_ptr<QApplication> openDesktop(int &argc, char *argv[]);
