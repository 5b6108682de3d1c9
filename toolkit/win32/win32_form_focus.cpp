// Keyboard focus and navigation within a form.
#include <algorithm>

#include "toolkit/win32/win32_form.h"
#include "toolkit/win32/windows_family.h"

namespace toolkit::win32 {

std::vector<Win32Control*> Win32Form::TabOrder() const {
    std::vector<Win32Control*> order;
    for (const auto& control : controls_) {
        if (control->TakesFocus())
            order.push_back(control.get());
    }
    std::stable_sort(order.begin(), order.end(), [](const Win32Control* a, const Win32Control* b) {
        return a->Layout().tabIndex < b->Layout().tabIndex;
    });
    return order;
}

void Win32Form::FocusFirst() {
    for (Win32Control* control : TabOrder()) {
        if (control->CanTakeFocusNow()) {
            SetFocus(control->Handle());
            return;
        }
    }
}

void Win32Form::MoveFocus(bool forward) {
    std::vector<Win32Control*> order = TabOrder();
    const int count = static_cast<int>(order.size());
    HWND focus = GetFocus();
    int current = -1;
    for (int i = 0; i < count; ++i) {
        if (order[i]->Handle() == focus || IsChild(order[i]->Handle(), focus))
            current = i;
    }
    for (int step = 1; step <= count; ++step) {
        int next = current < 0 ? (forward ? step - 1 : count - step)
                               : ((current + (forward ? step : -step)) % count + count) % count;
        if (order[next]->CanTakeFocusNow()) {
            SetFocus(order[next]->Handle());
            return;
        }
    }
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
                    if (focused && focused->Kind() == ControlKind::TextBox &&
                        focused->Layout().multiLine && !focused->Layout().readOnly) {
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
                if (focused && focused->Kind() == ControlKind::TextBox &&
                    focused->Layout().multiLine && !focused->Layout().readOnly) {
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
