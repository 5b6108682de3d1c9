// Keyboard focus and navigation within a form.
#include "toolkit/form_rules.h"
#include "toolkit/win32/win32_form.h"
#include "toolkit/win32/windows_family.h"

namespace toolkit::win32 {

// The next control to focus, by the form's tab order, from the one that has the focus now.
Win32Control* Win32Form::NextToFocus(std::optional<std::size_t> current, bool forward) const {
    const auto next = NextInTabOrder(TabOrder(layout_), current, forward, [this](std::size_t at) {
        return controls_[at]->CanTakeFocusNow();
    });
    return next ? controls_[*next].get() : nullptr;
}

void Win32Form::FocusFirst() {
    if (Win32Control* first = NextToFocus(std::nullopt, true))
        SetFocus(first->Handle());
}

void Win32Form::MoveFocus(bool forward) {
    HWND focus = GetFocus();
    std::optional<std::size_t> current;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i]->Handle() &&
            (controls_[i]->Handle() == focus || IsChild(controls_[i]->Handle(), focus)))
            current = i;
    }
    if (Win32Control* next = NextToFocus(current, forward))
        SetFocus(next->Handle());
}

bool Win32Form::PreTranslate(MSG& message) {
    if (!window_)
        return false;
    if (message.message == WM_KEYDOWN) {
        switch (message.wParam) {
            case VK_TAB: {
                if (GetKeyState(VK_MENU) < 0)
                    break;
                // As in a dialog's edit box: Tab moves the focus on, Ctrl+Tab types a tab.
                if (GetKeyState(VK_CONTROL) < 0) {
                    Win32Control* focused = ControlByWindow(GetFocus());
                    if (focused && IsEditableMultiLine(focused->Layout())) {
                        SendMessageA(focused->Handle(), EM_REPLACESEL, TRUE,
                                     reinterpret_cast<LPARAM>("\t"));
                    }
                    return true;
                }
                MoveFocus(GetKeyState(VK_SHIFT) >= 0);
                return true;
            }
            case VK_RETURN: {
                // No default button: Enter presses the focused button and nothing else.
                Win32Control* focused = ControlByWindow(GetFocus());
                if (focused && focused->IsCommandButton()) {
                    SendMessageA(focused->Handle(), BM_CLICK, 0, 0);
                    return true;
                }
                if (focused && IsEditableMultiLine(focused->Layout())) {
                    break;  // a new line
                }
                return true;
            }
            case VK_ESCAPE:
                return true;  // no cancel button
            default:
                break;
        }
    }
    return (OnWindows9x() ? IsDialogMessageA(window_, &message)
                          : IsDialogMessageW(window_, &message)) != FALSE;
}

// Windows hands the focus to the window itself on activation; give it back to the control
// that had it, or to the first one in tab order.
void Win32Form::OnActivate(bool active) {
    if (!window_)
        return;
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus))
            savedFocus_ = focus;
        return;
    }
    if (IsChild(window_, GetFocus()))
        return;
    Win32Control* saved = ControlByWindow(savedFocus_);
    if (saved && saved->CanTakeFocusNow()) {
        SetFocus(saved->Handle());
    } else {
        FocusFirst();
    }
}

}  // namespace toolkit::win32
