#pragma once
// UTF-8 and UTF-16 in both directions, without the toolkit. Malformed UTF-8 is
// any byte that starts no sequence, a sequence cut off or broken by a byte that
// does not continue it, an overlong form, a surrogate and a value past U+10FFFF.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Every malformed byte becomes U+FFFD and decoding goes on with the next byte.
std::u16string Utf8ToUtf16(std::string_view utf8);

// Nothing at all when anything is malformed.
std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view utf8);

// A surrogate pair becomes one four-byte sequence; a lone surrogate is written
// as it stands, in three bytes.
std::string Utf16ToUtf8(std::u16string_view utf16);

} // namespace platform
