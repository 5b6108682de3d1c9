// The stored layout of the About window.
#pragma once

#include <string>

#include "toolkit/layout.h"

namespace about {

const toolkit::FormLayout& frmAboutLayout();

// The About text: CR LF line ends, ANSI bytes.
const std::string& AboutText();

}  // namespace about
