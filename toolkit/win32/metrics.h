// Twips, pixels and the screen's resolution.
#pragma once

#include "toolkit/layout.h"

namespace toolkit::win32 {

// Pixels per logical inch of the screen; 96 unless the user scaled the display.
int ScreenDpi();

// Twips to device pixels: twips / 15 at 96 dpi, proportionally more on denser screens.
int TwipsToDevice(int twips, int dpi);

// A length drawn in 96-dpi pixels (artwork), scaled to the screen.
int ScaleFrom96(int pixels, int dpi);

// Point size to the negative character height that CreateFont takes.
int FontHeightForPoints(double points, int dpi);

struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The control's rectangle in device pixels (for a line: x1, y1, x2, y2).
PixelRect ControlPixels(const ControlLayout& layout, int dpi);

}  // namespace toolkit::win32
