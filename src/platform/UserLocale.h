#pragma once
// The user's regional settings, as far as the start-up needs them: the date
// names and upper-casing by the user's language (Windows: the locale info and
// CharUpperBuffW). Plain C++: the launcher uses it before the toolkit is loaded.
#include <array>
#include <string>
#include <string_view>

namespace platform {

struct LocaleDateNames {
    std::array<std::u16string, 7> shortDayNames; // Sunday first
    std::array<std::u16string, 12> shortMonthNames;
    std::array<std::u16string, 12> longMonthNames;
};

// The date names of the named locale; "" means the user's settings from the
// environment. An unknown or broken locale gives the names of the "C" locale.
// Leaves the process's current locale as it was.
LocaleDateNames ReadDateNames(const char* localeName = "");

// The text upper-cased by the rules of the user's language (their LC_CTYPE).
std::u16string UpperCaseForUser(std::u16string_view text);

} // namespace platform
