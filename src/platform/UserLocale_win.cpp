#ifdef _WIN32
#include "platform/UserLocale.h"

#include "platform/Utf8.h"

#include <windows.h>

#include <iterator>

namespace platform {
namespace {

std::wstring ToWide(const char* utf8)
{
    const std::u16string text = Utf8ToUtf16(utf8 ? utf8 : "");
    return std::wstring(text.begin(), text.end());
}

std::u16string Info(const wchar_t* locale, LCTYPE type)
{
    wchar_t buf[128] = {};
    const int n = ::GetLocaleInfoEx(locale, type, buf, static_cast<int>(std::size(buf)));
    if (n <= 1)
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(buf), static_cast<std::size_t>(n - 1));
}

} // namespace

LocaleDateNames ReadDateNames(const char* localeName)
{
    // "" is the user's own locale; a name the system does not know gives the
    // invariant locale's names, as the "C" locale does on Linux.
    const std::wstring name = ToWide(localeName);
    const wchar_t* locale = LOCALE_NAME_USER_DEFAULT;
    if (!name.empty())
        locale = ::IsValidLocaleName(name.c_str()) ? name.c_str() : LOCALE_NAME_INVARIANT;

    // Windows counts the days from Monday (…DAYNAME1) to Sunday (…DAYNAME7).
    static constexpr LCTYPE kShortDays[7]
        = {LOCALE_SABBREVDAYNAME7, LOCALE_SABBREVDAYNAME1, LOCALE_SABBREVDAYNAME2, LOCALE_SABBREVDAYNAME3,
           LOCALE_SABBREVDAYNAME4, LOCALE_SABBREVDAYNAME5, LOCALE_SABBREVDAYNAME6};
    static constexpr LCTYPE kShortMonths[12]
        = {LOCALE_SABBREVMONTHNAME1, LOCALE_SABBREVMONTHNAME2,  LOCALE_SABBREVMONTHNAME3,  LOCALE_SABBREVMONTHNAME4,
           LOCALE_SABBREVMONTHNAME5, LOCALE_SABBREVMONTHNAME6,  LOCALE_SABBREVMONTHNAME7,  LOCALE_SABBREVMONTHNAME8,
           LOCALE_SABBREVMONTHNAME9, LOCALE_SABBREVMONTHNAME10, LOCALE_SABBREVMONTHNAME11, LOCALE_SABBREVMONTHNAME12};
    static constexpr LCTYPE kLongMonths[12]
        = {LOCALE_SMONTHNAME1, LOCALE_SMONTHNAME2,  LOCALE_SMONTHNAME3,  LOCALE_SMONTHNAME4,
           LOCALE_SMONTHNAME5, LOCALE_SMONTHNAME6,  LOCALE_SMONTHNAME7,  LOCALE_SMONTHNAME8,
           LOCALE_SMONTHNAME9, LOCALE_SMONTHNAME10, LOCALE_SMONTHNAME11, LOCALE_SMONTHNAME12};
    LocaleDateNames names;
    for (int i = 0; i < 7; ++i)
        names.shortDayNames[i] = Info(locale, kShortDays[i]);
    for (int i = 0; i < 12; ++i) {
        names.shortMonthNames[i] = Info(locale, kShortMonths[i]);
        names.longMonthNames[i] = Info(locale, kLongMonths[i]);
    }
    return names;
}

std::u16string UpperCaseForUser(std::u16string_view text)
{
    // CharUpperBuffW upper-cases in place by the user's language settings.
    std::u16string out(text);
    if (!out.empty())
        ::CharUpperBuffW(reinterpret_cast<LPWSTR>(out.data()), static_cast<DWORD>(out.size()));
    return out;
}

} // namespace platform
#endif
