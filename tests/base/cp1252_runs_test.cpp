// Long texts, where the conversion copies runs of ASCII whole: the result must be the same as
// converting byte by byte, wherever the non-ASCII bytes fall in an eight-byte word.
#include <gtest/gtest.h>

#include <string>

#include "base/codepage/cp1252.h"

namespace {

std::string ByteByByte(const std::string& ansi) {
    std::string utf8;
    for (char c : ansi) utf8 += codepage::ToUtf8(std::string(1, c));
    return utf8;
}

TEST(Cp1252Runs, HighBytesAtEveryPlaceOfALongRunConvertLikeSingleBytes) {
    const std::string high = "\x80\x81\x9F\xA0\xE9\xFF";
    for (size_t runLength : {0u, 1u, 7u, 8u, 9u, 15u, 16u, 17u, 64u}) {
        for (char h : high) {
            std::string ansi;
            for (int i = 0; i < 40; ++i) {
                ansi += std::string(runLength + static_cast<size_t>(i % 9), 'a' + i % 26);
                ansi += h;
                ansi += "\r\n";
            }
            const std::string utf8 = codepage::ToUtf8(ansi);
            EXPECT_EQ(utf8, ByteByByte(ansi)) << runLength;
            const codepage::Encoded back = codepage::FromUtf8(utf8);
            EXPECT_FALSE(back.refusal);
            EXPECT_EQ(back.bytes, ansi) << runLength;
        }
    }
}

TEST(Cp1252Runs, UnencodableCharacterAfterALongRunIsStillFound) {
    for (size_t runLength : {7u, 8u, 9u, 1000u}) {
        const std::string utf8 = std::string(runLength, 'x') + "\xE4\xB8\xAD" + "tail";
        const codepage::Encoded result = codepage::FromUtf8(utf8);
        EXPECT_EQ(result.refusal, codepage::Refusal::Unencodable(U'\u4E2D')) << runLength;
        EXPECT_TRUE(result.bytes.empty());
    }
    EXPECT_EQ(codepage::FromUtf8(std::string(20, 'x') + "\xC3").refusal,
              codepage::Refusal::Unencodable(U'\uFFFD'));
}

}  // namespace
