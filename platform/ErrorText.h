#pragma once

#include <QString>
#include <sys/types.h>

// Why a file operation failed, in Russian whatever the system's language.

// The reason for the system's error code; a code met by no records pass
// gives the system's own text.
QString errorText(int code);

// Why what stands at a path, of the given mode, is not an ordinary file.
QString notAFileText(mode_t mode);

// A user as the messages name one: the login name, or the number where the
// system knows no name for it.
QString userText(uid_t uid);
