#include "util/RegionalDateNames.h"

#include "platform/UserLocale.h"

namespace util {

RegionalDateNames ReadRegionalDateNames(const char* localeName)
{
    const platform::LocaleDateNames read = platform::ReadDateNames(localeName);
    RegionalDateNames names;
    for (int i = 1; i <= 7; ++i)
        names.ShortDayNames[i] = read.shortDayNames[static_cast<std::size_t>(i - 1)];
    for (int i = 1; i <= 12; ++i) {
        names.ShortMonthNames[i] = read.shortMonthNames[static_cast<std::size_t>(i - 1)];
        names.LongMonthNames[i] = read.longMonthNames[static_cast<std::size_t>(i - 1)];
    }
    return names;
}

RegionalDateNames& ProcessDateNames()
{
    static RegionalDateNames names = ReadRegionalDateNames("");
    return names;
}

} // namespace util
