#include "toolkit/win32/ansi_text.h"

#include "toolkit/win32/win32_api.h"

namespace toolkit::win32 {
namespace {

// Converts without best fit; false when a character had no byte of its own.
bool Encode(std::wstring_view text, std::string* out) {
    out->clear();
    if (text.empty())
        return true;
    const int length = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0,
                                      nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        return false;
    out->resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, out->data(), n, nullptr,
                        &usedDefault);
    // The way back must give the same text: a code page may map two characters to one byte.
    return !usedDefault && FromAnsi(*out) == text;
}

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::wstring FromAnsi(std::string_view bytes) {
    std::wstring text;
    if (bytes.empty())
        return text;
    const int length = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), n);
    return text;
}

AnsiText ToAnsi(std::wstring_view text) {
    AnsiText result;
    if (Encode(text, &result.bytes))
        return result;
    // Look for the first character without a byte, one character at a time.
    result.bytes.clear();
    std::string piece;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t width = 1;
        char32_t cp = text[i];
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            width = 2;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        }
        if (!Encode(text.substr(i, width), &piece)) {
            result.refusal = Refusal::Unencodable(cp);
            return result;
        }
        i += width - 1;
    }
    // Each character alone has a byte, but not the whole: the first one stands for it.
    result.refusal =
        Refusal::Unencodable(text.empty() ? U'\uFFFD' : static_cast<char32_t>(text[0]));
    return result;
}

}  // namespace toolkit::win32
