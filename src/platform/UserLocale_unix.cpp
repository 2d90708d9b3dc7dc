#include "platform/UserLocale.h"

#include <clocale>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <langinfo.h>
#include <locale.h>

namespace platform {
namespace {

// A locale object of our own, so the process's global locale never changes.
locale_t OpenLocale(int mask, const char* name)
{
    if (locale_t loc = newlocale(mask, name, locale_t{}))
        return loc;
    return newlocale(mask, "C", locale_t{});
}

void AppendUtf16(std::u16string& out, char32_t c)
{
    if (c >= 0x10000 && c <= 0x10FFFF) {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        out += u'\uFFFD';
    } else {
        out += static_cast<char16_t>(c);
    }
}

// Decodes a text in the locale's own encoding. Bytes that form no character
// become U+FFFD instead of ending the text.
std::u16string Decode(const char* text, locale_t loc)
{
    std::u16string out;
    if (!text)
        return out;
    const locale_t previous = uselocale(loc);
    std::mbstate_t state{};
    const char* p = text;
    std::size_t left = std::strlen(text);
    while (left > 0) {
        wchar_t wc = 0;
        const std::size_t n = std::mbrtowc(&wc, p, left, &state);
        if (n == 0)
            break;
        if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2)) {
            out += u'\uFFFD';
            state = std::mbstate_t{};
            ++p;
            --left;
            continue;
        }
        AppendUtf16(out, static_cast<char32_t>(wc));
        p += n;
        left -= n;
    }
    uselocale(previous);
    return out;
}

} // namespace

LocaleDateNames ReadDateNames(const char* localeName)
{
    LocaleDateNames names;
    const locale_t loc = OpenLocale(LC_ALL_MASK, localeName);
    if (!loc)
        return names;
    static constexpr nl_item kShortDays[7] = {ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4, ABDAY_5, ABDAY_6, ABDAY_7};
    static constexpr nl_item kShortMonths[12] = {ABMON_1, ABMON_2, ABMON_3, ABMON_4,  ABMON_5,  ABMON_6,
                                                 ABMON_7, ABMON_8, ABMON_9, ABMON_10, ABMON_11, ABMON_12};
    static constexpr nl_item kLongMonths[12]
        = {MON_1, MON_2, MON_3, MON_4, MON_5, MON_6, MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
    for (int i = 0; i < 7; ++i)
        names.shortDayNames[i] = Decode(nl_langinfo_l(kShortDays[i], loc), loc);
    for (int i = 0; i < 12; ++i) {
        names.shortMonthNames[i] = Decode(nl_langinfo_l(kShortMonths[i], loc), loc);
        names.longMonthNames[i] = Decode(nl_langinfo_l(kLongMonths[i], loc), loc);
    }
    freelocale(loc);
    return names;
}

std::u16string UpperCaseForUser(std::u16string_view text)
{
    static const locale_t loc = OpenLocale(LC_CTYPE_MASK, "");
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (c >= 0xD800 && c <= 0xDFFF) { // an unpaired surrogate is kept as it is
            out += static_cast<char16_t>(c);
            continue;
        }
        AppendUtf16(out, loc ? static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), loc)) : c);
    }
    return out;
}

} // namespace platform
