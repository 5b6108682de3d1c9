// The ANSI code page mapping: every byte round-trips, nothing else is accepted.
#include <gtest/gtest.h>

#include <set>

#include "base/codepage/cp1252.h"

namespace {

TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const codepage::Encoded back = codepage::FromUtf8(codepage::ToUtf8(all));
    EXPECT_FALSE(back.refusal);
    EXPECT_EQ(back.bytes, all);
}

TEST(Cp1252, MappingIsOneToOne) {
    std::set<char32_t> seen;
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = codepage::ToCodePoint(static_cast<unsigned char>(b));
        EXPECT_TRUE(seen.insert(cp).second) << b;
        EXPECT_EQ(codepage::FromCodePoint(cp), static_cast<unsigned char>(b));
    }
    EXPECT_EQ(codepage::ToCodePoint(0x80), U'\u20AC');
    EXPECT_EQ(codepage::ToCodePoint(0x81), U'\u0081');  // unassigned: kept as the C1 control
    EXPECT_EQ(codepage::ToCodePoint(0x9F), U'\u0178');
}

TEST(Cp1252, CharactersOutsideTheCodePageAreNamed) {
    const auto result = codepage::FromUtf8("caf\xC3\xA9 \xE4\xB8\xAD and \xF0\x9F\x98\x80");
    EXPECT_EQ(result.refusal, codepage::Refusal::Unencodable(U'\u4E2D'));
    EXPECT_TRUE(result.bytes.empty());
    EXPECT_EQ(codepage::FromUtf8("\xF0\x9F\x98\x80").refusal,
              codepage::Refusal::Unencodable(U'\U0001F600'));
    EXPECT_EQ(codepage::FromUtf8("\xC3").refusal,
              codepage::Refusal::Unencodable(U'\uFFFD'));  // cut-off sequence
    EXPECT_EQ(codepage::FromUtf8("\xC0\x80").refusal,
              codepage::Refusal::Unencodable(U'\uFFFD'));  // overlong NUL
}

TEST(Cp1252, LineEndsAndNulPassUnchanged) {
    const std::string text("a\r\nb\nc\rd\0e", 10);
    EXPECT_EQ(codepage::ToUtf8(text), text);
    EXPECT_EQ(codepage::FromUtf8(text).bytes, text);
}

}  // namespace
