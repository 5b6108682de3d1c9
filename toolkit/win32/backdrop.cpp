#include "toolkit/win32/backdrop.h"

#include "toolkit/win32/metrics.h"
#include "toolkit/win32/pictures.h"
#include "toolkit/win32/windows_family.h"

namespace toolkit::win32 {
namespace {

COLORREF ToColorRef(Rgb colour) {
    return RGB(colour.r, colour.g, colour.b);
}

void DrawShape(HDC dc, const ControlLayout& shape, int dpi) {
    PixelRect box = ControlPixels(shape, dpi);
    Rgb fill = shape.fillColor.value_or(shape.backColor.value_or(kWhite));
    HBRUSH brush = CreateSolidBrush(ToColorRef(fill));
    HPEN pen = CreatePen(PS_SOLID, 1, ToColorRef(shape.borderColor.value_or(kBlack)));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Rectangle(dc, box.left, box.top, box.left + box.width, box.top + box.height);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

void DrawLine(HDC dc, const ControlLayout& line, int dpi) {
    PixelRect ends = ControlPixels(line, dpi);  // x1, y1, x2, y2
    const COLORREF colour = ToColorRef(line.foreColor.value_or(line.borderColor.value_or(kBlack)));
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, ends.left, ends.top, nullptr);
    LineTo(dc, ends.width, ends.height);
    // LineTo leaves out the end point; the line runs up to and including it.
    SetPixel(dc, ends.width, ends.height, colour);
    SelectObject(dc, old);
    DeleteObject(pen);
}

}  // namespace

void Backdrop::Render(const FormLayout& form, int dpi, int width, int height) {
    Release();
    HDC screen = GetDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap_);

    RECT all{0, 0, width, height};
    HBRUSH back = CreateSolidBrush(ToColorRef(form.backColor));
    FillRect(dc, &all, back);
    DeleteObject(back);
    if (form.picture != Picture::None)
        DrawPicture(dc, form.picture, 0, 0, dpi);
    for (const ControlLayout& control : form.controls) {
        if (control.kind == ControlKind::Shape && control.visible)
            DrawShape(dc, control, dpi);
    }
    for (const ControlLayout& control : form.controls) {
        if (control.kind == ControlKind::Line && control.visible)
            DrawLine(dc, control, dpi);
    }

    SelectObject(dc, old);
    DeleteDC(dc);
    if (!OnWindows9x())
        brush_ = CreatePatternBrush(bitmap_);
}

void Backdrop::Release() {
    if (brush_)
        DeleteObject(brush_);
    if (bitmap_)
        DeleteObject(bitmap_);
    brush_ = nullptr;
    bitmap_ = nullptr;
}

void Backdrop::PaintTo(HDC dc, const RECT& area) const {
    if (!bitmap_)
        return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap_);
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, source,
           area.left, area.top, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

HBRUSH Backdrop::BrushFor(HDC childDc, const RECT& area) const {
    if (!brush_) {
        if (bitmap_) {
            // Logical coordinates: the copy follows the viewport when the child is printed
            // into its parent's picture (WM_PRINT).
            HDC source = CreateCompatibleDC(childDc);
            HGDIOBJ old = SelectObject(source, bitmap_);
            BitBlt(childDc, 0, 0, area.right - area.left, area.bottom - area.top, source, area.left,
                   area.top, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
        }
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    // The brush origin is in device units: where the form's origin lands in this DC. That
    // is (-x, -y) when the child paints itself, and moves with the viewport when the child
    // is printed into its parent's picture (WM_PRINT).
    POINT childOrigin{0, 0};
    LPtoDP(childDc, &childOrigin, 1);
    SetBrushOrgEx(childDc, childOrigin.x - area.left, childOrigin.y - area.top, nullptr);
    return brush_;
}

}  // namespace toolkit::win32
