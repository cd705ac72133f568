#pragma once
// Where a program's running instance listens for later starts, and the lock
// that says an instance runs.
#include <QString>

namespace logo {

struct ProgramProfile;

// The socket of the program for the current user: in the user's runtime
// folder when it is private to the user, else in a private folder of the
// temporary folder; the name carries the program and the user. Empty when
// no private folder can be had.
QString handOverServerName(const ProgramProfile &profile);

// The lock file held by the running instance for its whole run, beside the
// socket (on Windows, whose socket is a pipe, in the user's temporary folder).
QString handOverLockPath(const QString &serverName);

} // namespace logo
