#pragma once

#include <QString>

// Where the records file lives. A portable folder keeps it beside the program;
// an install into the system's folders, which the player cannot write, keeps
// it in the player's own data folder.
enum class RecordsLayout { Portable, System };

// The player's folder for this game's data: $XDG_DATA_HOME/pyatnashki, or
// ~/.local/share/pyatnashki where that is unset, empty or not absolute.
QString playerDataFolder();

// Makes folder and any missing parents, each new one for its owner alone
// (0700). True if it stands as a folder afterwards; false with the system's
// reason otherwise.
bool makeFolder(const QString &folder, QString &error);
