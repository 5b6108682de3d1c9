// The program's texts are bytes in the system's ANSI code page; the text box holds Unicode,
// so that what the user types is kept as typed until a save decides whether the code page
// can store it.
#pragma once

#include <string>
#include <string_view>

#include "toolkit/form.h"

namespace toolkit::win32 {

// Every byte becomes one character of its own, and comes back unchanged from ToAnsi.
std::wstring FromAnsi(std::string_view bytes);

// The bytes of the text, or the first character the code page has no byte for: never a
// look-alike ("best fit") or a question mark in its place.
AnsiText ToAnsi(std::wstring_view text);

}  // namespace toolkit::win32
