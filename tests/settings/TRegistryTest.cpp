// Typed access over one key: a failed read or write names the value, in UTF-8.
#include "settings/TRegistry.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

std::string errorText(const std::function<void()>& access)
{
    try {
        access();
    } catch (const settings::ERegistryException& e) {
        return e.what();
    }
    return "(kein Fehler)";
}

TEST(TRegistry, FailedAccessNamesTheValueInUtf8)
{
    const std::pair<std::u16string, std::string> nameList[] = {{u"FontSize", "FontSize"},
                                                               {u"Gr\u00F6\u00DFe",
                                                                "Gr\xC3\xB6\xC3\x9F"
                                                                "e"},
                                                               {u"Bild \U0001F600", "Bild \xF0\x9F\x98\x80"}};
    settings::TRegistry reg(nullptr); // no key is open, so every access fails
    for (const auto& [name, utf8] : nameList) {
        EXPECT_EQ(errorText([&] { reg.ReadInteger(name); }), "Fehler beim Holen der Daten für '" + utf8 + "'");
        EXPECT_EQ(errorText([&] { reg.WriteString(name, u"x"); }), "Fehler beim Setzen der Daten für '" + utf8 + "'");
    }
}

} // namespace
