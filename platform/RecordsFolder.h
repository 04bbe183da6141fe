#pragma once

#include <QString>

// Where the records file lives: Portable keeps it beside the program, in a
// folder the player owns; PlayerData keeps it in playerDataFolder() below,
// for an install into folders the player cannot write.
enum class RecordsLayout { Portable, PlayerData };

// The data folder of the user the game runs as, for this game:
// $XDG_DATA_HOME/pyatnashki, or ~/.local/share/pyatnashki where that is unset,
// empty, not absolute or another user's. The home is $HOME where that is the
// user's own, else the password database's (so that root started with a
// user's HOME keeps to its own home). Always an absolute path.
QString playerDataFolder();

// Makes folder and any missing parents, each new one for its owner alone
// (0700), never inside a folder another user owns. True if it stands as a
// folder afterwards; false with the reason otherwise.
bool makeFolder(const QString &folder, QString &error);

// Whether folder, where it stands, is the player's own (or the player's own
// link); false, naming it and its owner, where it is another user's.
bool isOwnFolder(const QString &folder, QString &error);
