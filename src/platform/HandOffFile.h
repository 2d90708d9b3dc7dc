#pragma once
// Writing a small file of ours at a fixed name in a directory that other users
// may write to (the temporary directory). Never through a symbolic link, never
// into a file that belongs to someone else or has other names (hard links).
// Paths are UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Makes an earlier file of ours writable again (Windows: read-only, hidden and
// system attributes cleared). Anything else at the path (a link, a foreign
// file, nothing) is left alone.
void ClearReadOnly(const std::string& path);

// Creates the file, or empties an existing file of ours, and writes the bytes;
// the file is left readable and writable by us alone (0600, whatever the
// umask). An earlier file of ours that others could write is replaced.
// Returns 0 on success, otherwise an errno value (ELOOP for a symbolic link,
// EPERM for a file that is not a plain file of ours).
// Windows: the temporary directory is the user's own, closed to other users,
// so ownership and access bits are not looked at; a link of any kind
// (symbolic link, junction, other reparse point) and a file with further
// names are refused all the same.
int WriteOwnFile(const std::string& path, std::string_view bytes);

// The text as files for the system's older programs hold it: in the active
// ANSI code page, characters it lacks replaced as the system replaces them;
// when that code page is UTF-8, UTF-8 behind a byte-order mark. Nothing where
// the system has no such code page (Linux): the caller chooses one.
std::optional<std::string> ToActiveCodePage(std::u16string_view text);

#ifdef _WIN32
// The same for a given code page (the active one is GetACP's); nothing when
// the system cannot convert into it.
std::optional<std::string> ToCodePage(unsigned codePage, std::u16string_view text);
#endif

} // namespace platform
