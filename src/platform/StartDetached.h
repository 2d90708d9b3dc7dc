#pragma once
// Starts a program as a process of its own that outlives us and is never our
// child to wait for (double fork, new session). No shell is involved: the
// arguments reach the program exactly as given.
#include <string>
#include <vector>

namespace platform {

// argv[0] is the program path itself. workingDirectory empty = ours.
// Returns 0 when the program was executed, otherwise the errno of the step
// that failed (changing directory, fork or exec).
int StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& workingDirectory);

} // namespace platform
