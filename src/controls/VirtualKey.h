#pragma once
// Windows virtual-key codes as the key handlers see them (16-bit, in and out;
// a handler that sets the code to 0 consumes the key).
#include <cstdint>

namespace vk {
constexpr std::uint16_t Back = 8;
constexpr std::uint16_t Tab = 9;
constexpr std::uint16_t Return = 13;
constexpr std::uint16_t Shift = 16;
constexpr std::uint16_t Control = 17;
constexpr std::uint16_t Menu = 18; // Alt
constexpr std::uint16_t Escape = 27;
constexpr std::uint16_t Space = 32;
constexpr std::uint16_t Prior = 33; // Page Up
constexpr std::uint16_t Next = 34;  // Page Down
constexpr std::uint16_t End = 35;
constexpr std::uint16_t Home = 36;
constexpr std::uint16_t Left = 37;
constexpr std::uint16_t Up = 38;
constexpr std::uint16_t Right = 39;
constexpr std::uint16_t Down = 40;
constexpr std::uint16_t Insert = 45;
constexpr std::uint16_t Delete = 46;
constexpr std::uint16_t F1 = 112;  // F1..F24 are consecutive
constexpr std::uint16_t Apps = 93; // context-menu key
} // namespace vk
