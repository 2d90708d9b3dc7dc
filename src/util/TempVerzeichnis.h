#pragma once
// The user's temporary directory with its trailing separator, as the system
// reports it (Linux: TMPDIR, else /tmp), whether or not it exists.
#include <QString>

namespace util {

// Windows reads this into a buffer of 261 characters, so a longer directory
// would not fit there. Here it is returned whole: a shortened text would name
// a different directory.
QString TempVerzeichnis();

} // namespace util
