#pragma once
// The user's private runtime directory, where the instance lock and the main
// window's message channel live: $XDG_RUNTIME_DIR, or /tmp/runtime-<uid> (the
// fallback Qt uses too). Either must be a real directory owned by the user and
// closed to everybody else; otherwise there is none.
#include <optional>
#include <string>
#include <sys/types.h>

namespace instance {

std::optional<std::string> UserRuntimeDirectory();

// Whether path is a directory (not a link) owned by uid with no group or other rights.
bool IsPrivateDirectory(const std::string& path, uid_t uid);

} // namespace instance
