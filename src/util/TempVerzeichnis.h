#pragma once
// The user's temporary directory with its trailing separator, as the system
// reports it (Linux: TMPDIR, else /tmp), whether or not it exists.
#include <QString>

namespace util {

// Windows reads this into a buffer of 261 characters, so a longer directory
// would not fit there. Here it is returned whole: a shortened text would name
// a different directory.
//
// When the system names no directory that can be used (Windows: GetTempPathW
// fails, or names one longer than 260 characters), failure (when given) gets
// a line for the user saying what Windows reported, and the result is the
// directory it named (too long) or empty: never a relative name, which would
// put files into the current directory.
QString TempVerzeichnis(QString* failure = nullptr);

} // namespace util
