#pragma once
// Splits a parameter text the way a Windows program's start-up code does
// (CommandLineToArgvW without the program name): blanks and tabs separate,
// double quotes group and are removed, 2n backslashes before a quote give n
// backslashes and a grouping quote, 2n+1 give n backslashes and a literal
// quote, backslashes elsewhere are literal, and "" inside a quoted group gives
// a literal quote and ends the group. Used to start programs without a shell.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::vector<std::string> CommandLineToArgv(std::string_view parameters);

} // namespace platform
