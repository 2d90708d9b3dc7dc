#include "util/Cp1252.h"

#include <QList>

#include <array>

namespace util {

namespace {

// Bytes 80..9F. The five bytes without a character (81, 8D, 8F, 90, 9D) map
// to the control characters of the same number, as Windows' table does.
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char toByte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i)
        if (kHighControlRange[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

QByteArray ToCp1252(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    // By code point, so a character beyond the 16-bit range becomes one "?", not two.
    for (char32_t c : text.toUcs4())
        out.append(toByte(c));
    return out;
}

QString FromCp1252(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        out.append(QChar(u >= 0x80 && u < 0xA0 ? kHighControlRange[u - 0x80] : char16_t(u)));
    }
    return out;
}

} // namespace util
