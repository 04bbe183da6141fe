#pragma once

#include <QByteArray>

// Where the records file lives: Portable keeps it beside the program, in a
// folder the player owns; PlayerData keeps it in playerDataFolder() below,
// for an install into folders the player cannot write.
enum class RecordsLayout { Portable, PlayerData };

// The data folder of the user the game runs as, for this game, in the
// system's bytes: $XDG_DATA_HOME/pyatnashki, or ~/.local/share/pyatnashki
// where that is unset, empty, not absolute or another user's. The home is
// $HOME where that is the user's own, else the password database's (so that
// root started with a user's HOME keeps to its own home). Always an absolute
// path. Where a folder on it cannot be looked up, it is kept, and the walk to
// the file gives the reason.
QByteArray playerDataFolder();

// As root with another user's HOME (su without -, sudo keeping HOME), points
// HOME, and the XDG folders that lie in it, at root's own before any library
// writes there, as sudo -H does; otherwise leaves them be.
void keepRootInItsOwnHome();
