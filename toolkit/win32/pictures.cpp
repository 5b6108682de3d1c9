#include "toolkit/win32/pictures.h"

#include "toolkit/layout.h"
#include "toolkit/win32/metrics.h"
#include "toolkit/win32/resources/resource_ids.h"

namespace toolkit::win32 {
namespace {

HBITMAP LoadBitmapResource(int id) {
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int dpi) {
    if (!bitmap)
        return;
    SIZE size = BitmapSize(bitmap);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    int width = ScaleFrom96(size.cx, dpi), height = ScaleFrom96(size.cy, dpi);
    if (width == size.cx && height == size.cy) {
        BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, x, y, width, height, source, 0, 0, size.cx, size.cy, SRCCOPY);
    }
    SelectObject(source, old);
    DeleteDC(source);
}

}  // namespace

HBITMAP PictureBitmap(Picture picture) {
    static HBITMAP background = LoadBitmapResource(IDB_BACKGROUND);
    static HBITMAP logo = LoadBitmapResource(IDB_LOGO);
    switch (picture) {
        case Picture::Background:
            return background;
        case Picture::Logo:
            return logo;
        case Picture::Icon:
        case Picture::None:
            break;
    }
    return nullptr;
}

HICON ProgramIcon(int size) {
    static HICON large = static_cast<HICON>(LoadImageA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_CINDERMOOR), IMAGE_ICON, 32, 32, 0));
    static HICON small = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_CINDERMOOR), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    return size >= 32 ? large : small;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

void DrawPicture(HDC dc, Picture picture, int x, int y, int dpi) {
    if (picture == Picture::Icon) {
        int size = ScaleFrom96(32, dpi);
        if (HICON icon = ProgramIcon(32))
            DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
        return;
    }
    DrawBitmap(dc, PictureBitmap(picture), x, y, dpi);
}

}  // namespace toolkit::win32
