#pragma once
// Replaces a file's contents so that a crash, a full disk or a failed write
// leaves either the old file or the complete new one, never a mixture: the
// data goes to a temporary file in the same directory, is flushed to the
// disk and only then renamed over the target.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace platform {

// False on failure, with the reason in error; the target is then untouched.
// A symbolic link as target is followed, so the file it points to is replaced.
bool WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> data,
                         std::string* error = nullptr);

} // namespace platform
