// The picture box: a focusable child window that shows a picture at its top-left corner,
// unscaled, on its back colour.
#pragma once

#include <string>

#include "toolkit/layout.h"
#include "toolkit/win32/win32_api.h"

namespace toolkit::win32 {

void RegisterPictureBoxClass();

HWND CreatePictureBox(HWND parent, int id, DWORD style, int x, int y, int width, int height,
                      Picture picture, Rgb backColor, int dpi);

}  // namespace toolkit::win32
