#pragma once
// Windows virtual-key codes as the key handlers see them (16-bit, in and out;
// a handler that sets the code to 0 consumes the key).
#include <cstdint>

namespace vk {
constexpr std::uint16_t Back = 8;
constexpr std::uint16_t Tab = 9;
constexpr std::uint16_t Return = 13;
constexpr std::uint16_t Escape = 27;
constexpr std::uint16_t Left = 37;
constexpr std::uint16_t Up = 38;
constexpr std::uint16_t Right = 39;
constexpr std::uint16_t Down = 40;
constexpr std::uint16_t Delete = 46;
} // namespace vk
