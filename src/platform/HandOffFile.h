#pragma once
// Writing a small file of ours at a fixed name in a directory that other users
// may write to (the temporary directory). Never through a symbolic link, never
// into a file that belongs to someone else or has other names (hard links).
#include <string>
#include <string_view>

namespace platform {

// Makes an earlier file of ours writable again (Windows: attributes 0).
// Anything else at the path (a link, a foreign file, nothing) is left alone.
void ClearReadOnly(const std::string& path);

// Creates the file, or empties an existing file of ours, and writes the bytes;
// the file is left readable and writable by us alone (0600, whatever the
// umask). An earlier file of ours that others could write is replaced.
// Returns 0 on success, otherwise an errno value (ELOOP for a symbolic link,
// EPERM for a file that is not a plain file of ours).
int WriteOwnFile(const std::string& path, std::string_view bytes);

} // namespace platform
