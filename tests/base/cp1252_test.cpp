// The ANSI code page against glibc's own Windows-1252 table, both ways; what it cannot hold
// is refused and named, never dropped or replaced.
#include <iconv.h>

#include <gtest/gtest.h>

#include "base/codepage/cp1252.h"

namespace {

// glibc's answer for one byte; it lacks the five bytes Windows maps to the C1 controls.
char32_t GlibcCodePoint(unsigned char byte) {
    const iconv_t cd = ::iconv_open("UTF-32LE", "CP1252");
    char in = static_cast<char>(byte), out[4] = {};
    char *from = &in, *to = out;
    std::size_t inLeft = 1, outLeft = 4;
    const bool ok = ::iconv(cd, &from, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
    ::iconv_close(cd);
    char32_t cp = 0;
    for (int i = 3; i >= 0; --i) cp = (cp << 8) | static_cast<unsigned char>(out[i]);
    return ok ? cp : byte;
}

TEST(Cp1252, EveryByteMapsAsWindowsMapsItBothWays) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = GlibcCodePoint(static_cast<unsigned char>(b));
        EXPECT_EQ(codepage::ToCodePoint(static_cast<unsigned char>(b)), cp) << b;
        EXPECT_EQ(codepage::FromCodePoint(cp), static_cast<unsigned char>(b)) << b;
        all.push_back(static_cast<char>(b));
    }
    // Whole texts, with the high bytes at every place of the eight-byte words copied whole.
    for (std::size_t run = 0; run < 18; ++run) {
        const std::string text = std::string(run, 'a') + all + "\r\n" + std::string(run, 'z');
        std::string expected;
        for (char c : text) expected += codepage::ToUtf8(std::string(1, c));
        EXPECT_EQ(codepage::ToUtf8(text), expected);
        const codepage::Encoded back = codepage::FromUtf8(expected);
        EXPECT_FALSE(back.refusal);
        EXPECT_EQ(back.bytes, text);
    }
}

TEST(Cp1252, CharactersOutsideTheCodePageAreRefusedAndNamed) {
    const std::pair<std::string, char32_t> cases[] = {
        {"caf\xC3\xA9 \xE4\xB8\xAD and \xF0\x9F\x98\x80", U'\u4E2D'},
        {std::string(1000, 'x') + "\xE2\x80\xB1", U'\u2031'},  // per ten thousand
        {"\xC2\x80", U'\u0080'},                               // a C1 control Windows maps away
        {"\xF0\x9F\x98\x80", U'\U0001F600'},
        {std::string(20, 'x') + "\xC3", U'\uFFFD'},  // cut-off sequence
        {"\xC0\x80", U'\uFFFD'},                     // overlong NUL
        {"\xED\xA0\x80", U'\uFFFD'},                 // a surrogate
    };
    for (const auto& [utf8, refused] : cases) {
        const codepage::Encoded result = codepage::FromUtf8(utf8);
        EXPECT_EQ(result.refusal, codepage::Refusal::Unencodable(refused)) << utf8;
        EXPECT_EQ(result.bytes, "") << utf8;
    }
}

}  // namespace
