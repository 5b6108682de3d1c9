// Real Win32 windows for tests under Wine: the program's toolkit, the window handles behind
// forms and controls, and the message loop.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/message_box.h"
#include "toolkit/win32/win32_api.h"

namespace testsupport {

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

// Records every message box shown while it lives, as the box really shows it; each box is
// answered with OK.
class MessageBoxRecorder {
  public:
    explicit MessageBoxRecorder(std::function<void(const toolkit::ShownMessageBox&)> also = {});
    ~MessageBoxRecorder();
    const std::vector<toolkit::ShownMessageBox>& Boxes() const { return boxes_; }

  private:
    std::vector<toolkit::ShownMessageBox> boxes_;
};

}  // namespace testsupport
