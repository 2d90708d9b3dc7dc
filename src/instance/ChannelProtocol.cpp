#include "instance/ChannelProtocol.h"

#include <algorithm>
#include <charconv>

namespace instance {

std::string ChannelSocketPath(const std::string& directory, const std::string& name)
{
    return directory + "/" + name + ".sock";
}

ChannelRequest ParseChannelRequest(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line == "?")
        return {ChannelRequest::Kind::TitleQuery, 0};
    if (line.empty() || !std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return {};
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (ec != std::errc() || end != line.data() + line.size())
        return {};
    return {ChannelRequest::Kind::Message, value};
}

bool LineReader::Feed(std::string_view bytes)
{
    m_buffer.append(bytes);
    // Every line, complete or still pending, must keep within the limit.
    std::size_t start = 0;
    for (auto nl = m_buffer.find('\n'); nl != std::string::npos; nl = m_buffer.find('\n', start)) {
        if (nl - start > m_maxLine)
            return false;
        start = nl + 1;
    }
    return m_buffer.size() - start <= m_maxLine;
}

std::optional<std::string> LineReader::NextLine()
{
    const auto nl = m_buffer.find('\n');
    if (nl == std::string::npos)
        return std::nullopt;
    std::string line = m_buffer.substr(0, nl);
    m_buffer.erase(0, nl + 1);
    return line;
}

std::string EncodeTitleList(const std::vector<std::string>& utf8Titles)
{
    const std::size_t count = std::min(utf8Titles.size(), kMaxTitleCount);
    std::string out = std::to_string(count) + "\n";
    for (std::size_t i = 0; i < count; ++i) {
        std::string title = utf8Titles[i].substr(0, kMaxTitleBytes);
        std::replace(title.begin(), title.end(), '\n', ' ');
        std::replace(title.begin(), title.end(), '\r', ' ');
        out += title;
        out += '\n';
    }
    return out;
}

std::optional<std::vector<std::string>> DecodeTitleList(std::string_view answer, bool& complete)
{
    complete = false;
    const auto firstNl = answer.find('\n');
    if (firstNl == std::string_view::npos) {
        complete = answer.size() > 8; // a count never needs more digits
        return std::nullopt;
    }
    std::size_t count = 0;
    const auto [end, ec] = std::from_chars(answer.data(), answer.data() + firstNl, count);
    if (ec != std::errc() || end != answer.data() + firstNl || firstNl == 0 || count > kMaxTitleCount) {
        complete = true;
        return std::nullopt;
    }
    std::vector<std::string> titles;
    std::size_t pos = firstNl + 1;
    while (titles.size() < count) {
        const auto nl = answer.find('\n', pos);
        if (nl == std::string_view::npos) {
            complete = answer.size() - pos > kMaxTitleBytes;
            return std::nullopt;
        }
        titles.emplace_back(answer.substr(pos, nl - pos));
        pos = nl + 1;
    }
    complete = true;
    return titles;
}

} // namespace instance
