// Real Win32 windows for tests under Wine: the program's toolkit, the window handles behind
// forms and controls, and the message loop.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/win32/win32_api.h"

namespace testsupport {

// What a window paints in its client area (a form: its own painting, without children), as
// a bitmap of the given size, or of the client area's.
class Printed {
  public:
    explicit Printed(HWND window, int width = 0, int height = 0) {
        if (width <= 0 || height <= 0) {
            RECT client;
            GetClientRect(window, &client);
            width = client.right;
            height = client.bottom;
        }
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT | PRF_ERASEBKGND);
    }
    ~Printed() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Printed(const Printed&) = delete;
    Printed& operator=(const Printed&) = delete;
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

  private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// Whether the system reports Windows 95, 98 or Me (the runs named win98.*).
bool OnWindows9x();

// The program's toolkit, created once per test binary.
toolkit::Toolkit& Gui();

HWND WindowOf(toolkit::Form& form);
HWND HandleOf(toolkit::Control& control);

// Handles the queued messages through the backend's loop (keyboard navigation included).
void ProcessMessages();

// Posts a key press to the window that has the focus and lets the loop handle it.
void PressKey(WORD virtualKey);
// The same with Shift or Ctrl held (as the thread's keyboard state).
void PressKeyWith(WORD modifier, WORD virtualKey);

std::string TextOf(HWND window);

// Runs `inside` from the message loop once it is waiting in a modal window: arm it, then
// make the call that goes modal. Returns whether it ran.
class WhenModal {
  public:
    explicit WhenModal(std::function<void()> inside);
    ~WhenModal();
    bool Ran() const { return ran_; }

  private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD);
    std::function<void()> inside_;
    UINT_PTR timer_;
    bool ran_ = false;
};

}  // namespace testsupport
