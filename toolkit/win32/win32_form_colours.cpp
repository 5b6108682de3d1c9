// The colours of a form's controls and the buttons the form draws itself.
#include <string>

#include "toolkit/win32/win32_form.h"

namespace toolkit::win32 {
namespace {

COLORREF ToColorRef(Rgb colour) {
    return RGB(colour.r, colour.g, colour.b);
}

RECT ChildRectInParent(HWND child, HWND parent) {
    RECT area;
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

}  // namespace

LRESULT Win32Form::OnColorStatic(HDC dc, HWND child) {
    Win32Control* control = ControlByWindow(child);
    if (!control)
        return DefWindowProcA(window_, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)child);
    const ControlLayout& layout = control->Layout();
    if (control->Kind() == ControlKind::TextBox) {
        // Read-only boxes keep the colours of an ordinary edit box, not the dialog grey.
        COLORREF back =
            layout.backColor ? ToColorRef(*layout.backColor) : GetSysColor(COLOR_WINDOW);
        SetBkColor(dc, back);
        SetTextColor(
            dc, layout.foreColor ? ToColorRef(*layout.foreColor) : GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(SolidBrush(back));
    }
    SetTextColor(dc, layout.foreColor ? ToColorRef(*layout.foreColor) : GetSysColor(COLOR_BTNTEXT));
    if (layout.transparent) {
        SetBkMode(dc, TRANSPARENT);
        RECT area = ChildRectInParent(child, window_);
        return reinterpret_cast<LRESULT>(backdrop_.BrushFor(dc, area));
    }
    COLORREF back = ToColorRef(layout.backColor.value_or(layout_.backColor));
    SetBkColor(dc, back);
    return reinterpret_cast<LRESULT>(SolidBrush(back));
}

LRESULT Win32Form::OnColorEdit(HDC dc, HWND child) {
    Win32Control* control = ControlByWindow(child);
    if (!control || (!control->Layout().backColor && !control->Layout().foreColor)) {
        return DefWindowProcA(window_, WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)child);
    }
    const ControlLayout& layout = control->Layout();
    COLORREF back = layout.backColor ? ToColorRef(*layout.backColor) : GetSysColor(COLOR_WINDOW);
    SetBkColor(dc, back);
    SetTextColor(dc,
                 layout.foreColor ? ToColorRef(*layout.foreColor) : GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(SolidBrush(back));
}

LRESULT Win32Form::OnColorButton(HDC dc, HWND child) {
    RECT area = ChildRectInParent(child, window_);
    return reinterpret_cast<LRESULT>(backdrop_.BrushFor(dc, area));
}

void Win32Form::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON)
        return;
    Win32Control* control = ControlById(static_cast<int>(item.CtlID));
    if (!control)
        return;
    const ControlLayout& layout = control->Layout();
    const bool pushed = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;
    HDC dc = item.hDC;

    RECT frame = item.rcItem;
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    RECT face = item.rcItem;
    InflateRect(&face, -2, -2);
    FillRect(dc, &face, SolidBrush(ToColorRef(layout.backColor.value_or(kWhite))));

    std::string caption = control->Caption();
    RECT text = item.rcItem;
    if (pushed)
        OffsetRect(&text, 1, 1);
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled           ? GetSysColor(COLOR_GRAYTEXT)
                     : layout.foreColor ? ToColorRef(*layout.foreColor)
                                        : GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);

    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}

HBRUSH Win32Form::SolidBrush(COLORREF colour) {
    for (auto& [known, brush] : brushes_) {
        if (known == colour)
            return brush;
    }
    HBRUSH brush = CreateSolidBrush(colour);
    brushes_.emplace_back(colour, brush);
    return brush;
}

}  // namespace toolkit::win32
