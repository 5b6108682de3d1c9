// Windows-1252, the ANSI code page of the program's texts, mapped losslessly to and from
// Unicode. The five bytes Windows leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to
// the C1 controls of the same value, as Windows itself does, so every byte round-trips.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace codepage {

char32_t ToCodePoint(unsigned char byte);

// The byte for a code point, or nothing when the code page cannot hold it.
std::optional<unsigned char> FromCodePoint(char32_t cp);

// At least the length of the text in UTF-8, and at most a little more: a byte takes three
// bytes at most, and only the bytes from 0x80 up take more than one.
std::uint64_t Utf8LengthBound(std::string_view ansi);

// One pass each way; no line-end or other conversion.
std::string ToUtf8(std::string_view ansi);
// As ToUtf8, appending to `out`, whose buffer the caller may reuse.
void AppendUtf8(std::string_view ansi, std::string& out);

// Why a text could not be taken as bytes of the code page.
struct Refusal {
    enum class Reason {
        UnencodableCharacter,  // `character` is the first one the code page has no byte for
        CutAtNul,  // the text box ends its text at a NUL byte, so it cannot give all of it back
    };
    Reason reason = Reason::UnencodableCharacter;
    char32_t character = 0;

    static Refusal Unencodable(char32_t character) {
        return {Reason::UnencodableCharacter, character};
    }
    static Refusal NulCut() { return {Reason::CutAtNul, 0}; }
    friend bool operator==(const Refusal&, const Refusal&) = default;
};

// A text as bytes of the code page, or why it could not be taken (bytes then empty).
struct Encoded {
    std::string bytes;
    std::optional<Refusal> refusal;
};
// Malformed UTF-8 sequences count as U+FFFD, which the code page cannot hold.
Encoded FromUtf8(std::string_view utf8);

// As FromUtf8, appending to `out` (whose buffer the caller may have prepared); returns the
// first code point without a byte, after which `out` holds an unfinished part.
std::optional<char32_t> AppendFromUtf8(std::string_view utf8, std::string& out);

}  // namespace codepage
