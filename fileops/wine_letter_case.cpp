// Names equal regardless of letter case, by Windows' rules; see wine_drive.h.
#include "fileops/wine_drive.h"

#include <string>

namespace fileops {
namespace {

// UTF-8 to code points; a byte that does not start a well-formed sequence becomes a value
// above U+10FFFF, which equals no character of a Windows name.
std::u32string Decode(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, cp = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, cp = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, cp = b & 0x07, min = 0x10000;
        } else {
            out.push_back(0x110000 + b);
            ++i;
            continue;
        }
        bool ok = i + static_cast<std::size_t>(extra) < s.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(0x110000 + b);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += 1 + static_cast<std::size_t>(extra);
    }
    return out;
}

// The simple upper-case mapping that Windows and Wine use to compare names, for the
// scripts that matter here: Latin (ASCII, Latin-1, Latin Extended-A, the f with hook of
// Windows-1252), Greek and Cyrillic.
char32_t Upcase(char32_t c) {
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
    if (c == 0xB5)
        return 0x39C;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 0x20;
    if (c == 0xFF)
        return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x131)
            return 'I';
        if (c == 0x17F)
            return 'S';
        if (c == 0x130 || c == 0x138 || c == 0x149 || c == 0x178)
            return c;
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
            return (c % 2 == 0) ? c - 1 : c;
        return (c % 2 == 1) ? c - 1 : c;
    }
    if (c == 0x192)
        return 0x191;
    if (c == 0x3C2)
        return 0x3A3;
    if (c >= 0x3B1 && c <= 0x3CB)
        return c - 0x20;
    if (c >= 0x430 && c <= 0x44F)
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    return c;
}

}  // namespace

bool NamesEqualIgnoringCase(std::string_view a, std::string_view b) {
    const std::u32string x = Decode(a);
    const std::u32string y = Decode(b);
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (Upcase(x[i]) != Upcase(y[i]))
            return false;
    return true;
}

}  // namespace fileops
