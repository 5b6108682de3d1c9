#include "toolkit/win32/metrics.h"

#include <cmath>

#include "toolkit/win32/win32_api.h"

namespace toolkit::win32 {

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int TwipsToDevice(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}

int ScaleFrom96(int pixels, int dpi) {
    return MulDiv(pixels, dpi, 96);
}

int FontHeightForPoints(double points, int dpi) {
    return -static_cast<int>(std::lround(points * dpi / 72.0));
}

PixelRect ControlPixels(const ControlLayout& layout, int dpi) {
    return {TwipsToDevice(layout.left, dpi), TwipsToDevice(layout.top, dpi),
            TwipsToDevice(layout.width, dpi), TwipsToDevice(layout.height, dpi)};
}

}  // namespace toolkit::win32
