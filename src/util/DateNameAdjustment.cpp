#include "util/DateNameAdjustment.h"

#include "platform/UserLocale.h"

namespace util {

void TagesnamenAnpassen(RegionalDateNames& names)
{
    for (int i = 1; i <= decltype(names.ShortDayNames)::Count; ++i) {
        std::u16string& name = names.ShortDayNames[i];
        if (!name.empty() && name.back() == u'.')
            name.pop_back();
    }
}

void MonatsnamenAnpassen(RegionalDateNames& names)
{
    for (int i = 1; i <= decltype(names.ShortMonthNames)::Count; ++i) {
        std::u16string& name = names.ShortMonthNames[i];
        const std::u16string upper = platform::UpperCaseForUser(name);
        if (upper == u"JAN")
            name = u"J\u00E4n";
        else if (upper == u"MRZ")
            name = u"M\u00E4r";
    }
    for (int i = 1; i <= decltype(names.LongMonthNames)::Count; ++i) {
        std::u16string& name = names.LongMonthNames[i];
        if (platform::UpperCaseForUser(name) == u"JANUAR") {
            name = u"J\u00E4nner";
            break;
        }
    }
}

void TagesnamenAnpassen() { TagesnamenAnpassen(ProcessDateNames()); }
void MonatsnamenAnpassen() { MonatsnamenAnpassen(ProcessDateNames()); }

} // namespace util
