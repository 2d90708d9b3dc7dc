#pragma once
// Translates Qt key codes into the Windows virtual-key codes that the key-down
// handlers of the windows were written against.
#include <cstdint>

// The virtual key of a Qt::Key value, or 0 for a key that has none.
std::uint16_t VirtualKeyFromQtKey(int qtKey);
