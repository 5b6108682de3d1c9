// The stored layout of the main window.
#pragma once

#include "toolkit/layout.h"

namespace editor {

const toolkit::FormLayout& frmCindermoorLayout();

}  // namespace editor
