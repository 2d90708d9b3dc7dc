#pragma once
// The process-wide regional date names: short day names (1 = Sunday .. 7),
// short and long month names (1 = January .. 12), as UTF-16 texts. Filled from
// the user's regional settings on first use; only the start-up adjustment
// writes them afterwards.
#include <array>
#include <stdexcept>
#include <string>

namespace util {

// A list indexed from 1, as date names are counted.
template <int N>
class DateNameList {
public:
    static constexpr int Count = N;
    std::u16string& operator[](int index) { return m_names.at(static_cast<std::size_t>(index - 1)); }
    const std::u16string& operator[](int index) const { return m_names.at(static_cast<std::size_t>(index - 1)); }

private:
    std::array<std::u16string, N> m_names;
};

struct RegionalDateNames {
    DateNameList<7> ShortDayNames;
    DateNameList<12> ShortMonthNames;
    DateNameList<12> LongMonthNames;
};

// The names of the named locale ("" = the user's settings; "C" if unusable).
RegionalDateNames ReadRegionalDateNames(const char* localeName = "");

// The process's table, read from the user's settings the first time it is used.
RegionalDateNames& ProcessDateNames();

} // namespace util
