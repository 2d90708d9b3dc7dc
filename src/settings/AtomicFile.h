#pragma once
// Replaces a file's contents so that a crash, a full disk or a failed write
// leaves either the old file or the complete new one, never a mixture: the
// data goes to a temporary file in the same directory, is flushed to the
// disk and only then renamed over the target.
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <span>
#include <string>

namespace settings {

// False on failure, with the reason in error; the target is then untouched.
// A symbolic link as target is followed, so the file it points to is replaced.
bool WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> data,
                         std::string* error = nullptr);

// The same in two halves, for a series of writes that must reach the target
// together or not at all: StageFile writes and flushes the complete new
// contents beside the target (a failure shows here, the target untouched);
// CommitStagedFile renames the staged file over the target.
bool StageFile(const std::filesystem::path& target, std::span<const std::uint8_t> data, std::filesystem::path* staged,
               std::string* error = nullptr);
bool CommitStagedFile(const std::filesystem::path& staged, const std::filesystem::path& target,
                      std::string* error = nullptr);

// The file a write to target replaces: target itself, or where its symbolic
// links lead (also when the last one leads to nothing yet).
std::filesystem::path ResolveTarget(const std::filesystem::path& target);

// Removes staged files of target ("<name>.tmp-XXXXXX", regular, ours) last
// changed before the given time: what interrupted saves left behind.
void RemoveStaleStagedFiles(const std::filesystem::path& target, const struct timespec& before);

} // namespace settings
