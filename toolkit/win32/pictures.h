// The artwork in the executable's resources, by the names the layouts use.
#pragma once

#include <string>

#include "toolkit/layout.h"
#include "toolkit/win32/win32_api.h"

namespace toolkit::win32 {

// Loaded once for the process and kept until it ends.
HBITMAP PictureBitmap(Picture picture);  // background, logo; nullptr for others
HICON ProgramIcon(int size);             // the program icon at 32 or 16 pixels

// Natural size of a bitmap in pixels.
SIZE BitmapSize(HBITMAP bitmap);

// Draws a picture at (x, y), scaled from its natural 96-dpi size to the screen's.
void DrawPicture(HDC dc, Picture picture, int x, int y, int dpi);

}  // namespace toolkit::win32
