#include "base/codepage/cp1252.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace codepage {
namespace {

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at pos; advances pos. Malformed input yields U+FFFD.
char32_t NextCodePoint(std::string_view s, size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, min = 0x10000;
    } else {
        return 0xFFFD;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= s.size())
            return 0xFFFD;
        const auto c = static_cast<unsigned char>(s[pos]);
        if ((c & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (c & 0x3F);
        ++pos;
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0xFFFD;
    return cp;
}

// Length of the run of ASCII bytes starting at pos. Files of this kind are ASCII but for a few
// bytes, and runs copied whole instead of byte by byte make the conversion of a large file
// several times faster.
size_t AsciiRunLength(std::string_view s, size_t pos) {
    size_t end = pos;
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    while (end + 8 <= s.size()) {
        std::uint64_t eight;
        std::memcpy(&eight, s.data() + end, 8);
        if (eight & kHighBits)
            break;
        end += 8;
    }
    while (end < s.size() && static_cast<unsigned char>(s[end]) < 0x80) ++end;
    return end - pos;
}

}  // namespace

char32_t ToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

std::optional<unsigned char> FromCodePoint(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

std::uint64_t Utf8LengthBound(std::string_view ansi) {
    // Eight bytes at a time: their top bits moved down and summed into the top byte by one
    // multiplication (no population-count instruction is assumed).
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    std::uint64_t high = 0;
    size_t pos = 0;
    for (; pos + 8 <= ansi.size(); pos += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, ansi.data() + pos, 8);
        high += (((eight >> 7) & kOnes) * kOnes) >> 56;
    }
    for (; pos < ansi.size(); ++pos) high += static_cast<unsigned char>(ansi[pos]) >> 7;
    return ansi.size() + 2 * high;
}

void AppendUtf8(std::string_view ansi, std::string& out) {
    size_t pos = 0;
    while (pos < ansi.size()) {
        const size_t run = AsciiRunLength(ansi, pos);
        out.append(ansi.data() + pos, run);
        pos += run;
        if (pos < ansi.size())
            AppendUtf8(out, ToCodePoint(static_cast<unsigned char>(ansi[pos++])));
    }
}

std::string ToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 8);
    AppendUtf8(ansi, out);
    return out;
}

std::optional<char32_t> AppendFromUtf8(std::string_view utf8, std::string& out) {
    size_t pos = 0;
    while (pos < utf8.size()) {
        const size_t run = AsciiRunLength(utf8, pos);
        out.append(utf8.data() + pos, run);
        pos += run;
        if (pos == utf8.size())
            break;
        const char32_t cp = NextCodePoint(utf8, pos);
        const auto byte = FromCodePoint(cp);
        if (!byte)
            return cp;
        out.push_back(static_cast<char>(*byte));
    }
    return std::nullopt;
}

Encoded FromUtf8(std::string_view utf8) {
    Encoded result;
    result.bytes.reserve(utf8.size());
    if (const auto character = AppendFromUtf8(utf8, result.bytes)) {
        result.bytes.clear();
        result.refusal = Refusal::Unencodable(*character);
    }
    return result;
}

}  // namespace codepage
