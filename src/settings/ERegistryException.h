#pragma once
// A registry value that cannot be read or written; the message names the value
// (UTF-8): "Fehler beim Holen der Daten für '%s'", "Ungültiger Datentyp für '%s'",
// "Fehler beim Setzen der Daten für '%s'".
#include <stdexcept>
#include <string>

namespace settings {

class ERegistryException : public std::runtime_error {
public:
    explicit ERegistryException(const std::string& utf8Message) : std::runtime_error(utf8Message) {}
};

} // namespace settings
