// Saves or loads the display settings through the program's settings store,
// on this platform's own store (the settings file on Linux, the registry on
// Windows), so that a script can carry settings between the two builds and
// compare what each of them reads:
//   settings_tool save < settings        settings_tool load > settings
// One line per value, "Name=value", in this order: FontName (UTF-8; a
// backslash written as two, a line feed as backslash and n), FontSize
// (points), FontColor (8 hex digits), FontCharSet, FontStyle (the stored
// bits), HintColor.
// A load that raises an error prints its text on stderr and ends with 1.
#include "settings/SettingsStore.h"
#include "settings/ERegistryException.h"

#include <cstdio>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>

namespace {

std::string escaped(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string unescaped(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            out += s[i + 1] == 'n' ? '\n' : s[i + 1];
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The lines of stdin as name -> value; carriage returns (Windows text mode) dropped.
std::map<std::string, std::string> readSettings()
{
    std::map<std::string, std::string> values;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc == 2 ? argv[1] : "";
    if (mode != "save" && mode != "load") {
        std::cerr << "usage: settings_tool save|load\n";
        return 2;
    }
    TFont font(96); // sizes convert at 96 dots per inch on every machine
    int hintergrundNr = 1;
    settings::SettingsStore store(
        font, [&] { return hintergrundNr; }, [&](int nr) { hintergrundNr = nr; });
    try {
        if (mode == "save") {
            std::map<std::string, std::string> values = readSettings();
            font.Name = QString::fromStdString(unescaped(values.at("FontName")));
            font.setSize(std::stoi(values.at("FontSize")));
            font.Color.raw = static_cast<std::uint32_t>(std::stoul(values.at("FontColor"), nullptr, 16));
            font.Charset = static_cast<std::uint8_t>(std::stoi(values.at("FontCharSet")));
            font.Style = settings::SettingsStore::StyleFromBits(std::stoi(values.at("FontStyle")));
            hintergrundNr = std::stoi(values.at("HintColor"));
            store.RegistryLadenSpeichern(false);
            return 0;
        }
        store.RegistryLadenSpeichern(true);
    } catch (const settings::ERegistryException& e) {
        std::cerr << e.what() << '\n';
        return 1;
    } catch (const std::exception& e) { // a line missing or not a number
        std::cerr << "settings_tool: unreadable settings (" << e.what() << ")\n";
        return 2;
    }
    char color[16];
    std::snprintf(color, sizeof color, "%08x", static_cast<unsigned>(font.Color.raw));
    std::cout << "FontName=" << escaped(font.Name.toStdString()) << '\n'
              << "FontSize=" << font.Size() << '\n'
              << "FontColor=" << color << '\n'
              << "FontCharSet=" << int(font.Charset) << '\n'
              << "FontStyle=" << settings::SettingsStore::StyleBits(font.Style) << '\n'
              << "HintColor=" << hintergrundNr << '\n';
    return 0;
}
