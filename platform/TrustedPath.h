#pragma once

#include <QByteArray>
#include <QString>

// How a path stands once its links are followed.
enum class PathEnd { Found, FolderMissing, Failed };

// Follows path, link by link, to the file it names (which may not be there
// yet), every folder on the way resolved, so that every path to one file
// gives one name. A link is followed only when those who may change it, its
// owner and the owner of the folder it sits in, can be trusted with the
// folder it leads into: root and the player with any, anyone else with their
// own only. In a sticky folder everyone may write to, only the player's links
// and the folder owner's are followed at all, as the system does for its own
// look-ups. FolderMissing when a folder on the way is not there; Failed, with
// the reason in Russian (a refused link named, with whose it is), otherwise.
PathEnd followTrustedLinks(const QByteArray &path, QByteArray &file, QString &error);

// Opens folder, a path followTrustedLinks resolved, for the save to work in:
// every step is taken without following a link, so that no link put on the
// way since the check is followed. Readable where the player may read it;
// -1, with errno set, where it cannot be opened so.
int openResolvedFolder(const QByteArray &folder);
