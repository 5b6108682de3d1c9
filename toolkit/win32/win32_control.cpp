#include "toolkit/win32/win32_control.h"

#include <algorithm>

#include "toolkit/form_rules.h"
#include "toolkit/win32/ansi_text.h"
#include "toolkit/win32/messages.h"
#include "toolkit/win32/windows_family.h"

namespace toolkit::win32 {

Win32Control::Win32Control(const ControlLayout& layout, HWND handle, PixelRect pixels)
    : layout_(layout), handle_(handle), pixels_(pixels), lightweightVisible_(layout.visible) {}

std::string Win32Control::WindowText() const {
    if (!handle_)
        return layout_.caption;
    int length = GetWindowTextLengthA(handle_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(handle_, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

std::string Win32Control::Caption() const {
    return WindowText();
}

void Win32Control::SetCaption(const std::string& caption) {
    if (!handle_)
        return;
    SetWindowTextA(handle_, caption.c_str());
    if (layout_.autoSize)
        FitToCaption();
}

bool Win32Control::Enabled() const {
    return handle_ ? IsWindowEnabled(handle_) != FALSE : true;
}

void Win32Control::SetEnabled(bool enabled) {
    if (!handle_)
        return;
    if (!enabled)
        HandFocusOnIfHeld();
    EnableWindow(handle_, enabled ? TRUE : FALSE);
}

AnsiText Win32Control::Text() const {
    if (lostAtNul_)
        return AnsiText{{}, Refusal::NulCut()};
    if (!handle_)
        return AnsiText{layout_.caption, std::nullopt};
    if (OnWindows9x())
        return AnsiText{WindowText(), std::nullopt};  // an ANSI box holds bytes only
    // A text box is a Unicode window: the ANSI calls would hand its text over best fitted.
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(handle_)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        std::max(GetWindowTextW(handle_, text.data(), static_cast<int>(text.size())), 0)));
    return ToAnsi(text);
}

void Win32Control::SetText(const std::string& bytes) {
    if (!handle_)
        return;
    lostAtNul_ = bytes.find('\0') != std::string::npos;
    if (OnWindows9x())
        SetWindowTextA(handle_, bytes.c_str());
    else
        SetWindowTextW(handle_, FromAnsi(bytes).c_str());
}

bool Win32Control::Visible() const {
    if (!handle_)
        return lightweightVisible_;
    return (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Control::SetVisible(bool visible) {
    if (!handle_) {
        lightweightVisible_ = visible;
        return;
    }
    if (!visible)
        HandFocusOnIfHeld();
    ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

bool Win32Control::TakesFocus() const {
    return handle_ != nullptr && toolkit::TakesFocus(layout_);
}

bool Win32Control::CanTakeFocusNow() const {
    return TakesFocus() && Visible() && IsWindowEnabled(handle_);
}

void Win32Control::FitToCaption() {
    if (!handle_)
        return;
    std::string caption = WindowText();
    HDC dc = GetDC(handle_);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(handle_, WM_GETFONT, 0, 0)));
    RECT extent{0, 0, 0, 0};
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &extent,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(handle_, dc);
    // The width follows the text; the height stays as laid out unless the font is taller.
    int height = std::max<int>(pixels_.height, extent.bottom - extent.top);
    SetWindowPos(handle_, nullptr, 0, 0, extent.right - extent.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Windows leaves the keyboard focus on a control that is disabled or hidden; move it on so
// that the keyboard keeps working.
void Win32Control::HandFocusOnIfHeld() {
    if (GetFocus() == handle_)
        SendMessageA(GetParent(handle_), kMsgFocusNext, 0, 0);
}

}  // namespace toolkit::win32
