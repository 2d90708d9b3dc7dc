#pragma once
// Wire format of the main window's message channel (a Unix-domain stream
// socket "<runtime directory>/<name>.sock", only for the same user).
// Client to server, one request per line ending in '\n', at most
// kMaxRequestLine bytes:
//   "<n>"  a window message number in decimal (1124 close, 1224 come to the
//          front), posted to the main window; no answer
//   "?"    the instance's top-level window titles; answer "<count>\n" followed
//          by count lines, each one title in UTF-8 (line breaks made blanks)
// Anything else is ignored; an over-long line ends the connection.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace instance {

inline constexpr std::size_t kMaxRequestLine = 32;
inline constexpr std::size_t kMaxTitleBytes = 4096;
inline constexpr std::size_t kMaxTitleCount = 256;

std::string ChannelSocketPath(const std::string& directory, const std::string& name);

struct ChannelRequest {
    enum class Kind { Message, TitleQuery, Unknown };
    Kind kind = Kind::Unknown;
    unsigned message = 0;
};

// One request line without its '\n'.
ChannelRequest ParseChannelRequest(std::string_view line);

// Splits a byte stream into lines; refuses a line longer than its limit.
class LineReader {
public:
    explicit LineReader(std::size_t maxLine) : m_maxLine(maxLine) {}
    // false when the pending line exceeds the limit; the stream is then broken.
    bool Feed(std::string_view bytes);
    std::optional<std::string> NextLine();

private:
    std::size_t m_maxLine;
    std::string m_buffer;
};

std::string EncodeTitleList(const std::vector<std::string>& utf8Titles);

// Decodes a whole answer; nothing while it is incomplete or malformed.
// complete is set when the answer is whole (valid or not), so the reader knows to stop.
std::optional<std::vector<std::string>> DecodeTitleList(std::string_view answer, bool& complete);

} // namespace instance
