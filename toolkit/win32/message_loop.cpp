#include "toolkit/win32/message_loop.h"

#include "toolkit/win32/win32_form.h"
#include "toolkit/win32/windows_family.h"

namespace toolkit::win32 {
namespace {

HWND mainWindow = nullptr;
bool mainLoopRunning = false;

// The Unicode loop hands the Unicode text box what is typed as typed; Windows 98 and Me
// have the ANSI loop only.
BOOL GetNextMessage(MSG* message) {
    return OnWindows9x() ? GetMessageA(message, nullptr, 0, 0)
                         : GetMessageW(message, nullptr, 0, 0);
}

BOOL PeekNextMessage(MSG* message) {
    return OnWindows9x() ? PeekMessageA(message, nullptr, 0, 0, PM_REMOVE)
                         : PeekMessageW(message, nullptr, 0, 0, PM_REMOVE);
}

}  // namespace

void DispatchThroughForms(MSG& message) {
    if (Win32Form* form = Win32Form::FromWindow(GetAncestor(message.hwnd, GA_ROOT))) {
        if (form->PreTranslate(message))
            return;
    }
    TranslateMessage(&message);
    if (OnWindows9x())
        DispatchMessageA(&message);
    else
        DispatchMessageW(&message);
}

bool RunMessageLoopUntil(const std::function<bool()>& done) {
    MSG message;
    while (!done()) {
        BOOL got = GetNextMessage(&message);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (got < 0)
            return false;
        DispatchThroughForms(message);
    }
    return true;
}

void ProcessPendingMessages() {
    MSG message;
    while (PeekNextMessage(&message)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        DispatchThroughForms(message);
    }
}

int RunMainLoop() {
    mainLoopRunning = true;
    MSG message;
    int exitCode = 0;
    for (;;) {
        BOOL got = GetNextMessage(&message);
        if (got == 0) {
            exitCode = static_cast<int>(message.wParam);
            break;
        }
        if (got < 0) {
            exitCode = 1;
            break;
        }
        DispatchThroughForms(message);
    }
    mainLoopRunning = false;
    return exitCode;
}

void NoteShownWindow(HWND window) {
    if (!mainWindow && !GetWindow(window, GW_OWNER))
        mainWindow = window;
}

void NoteDestroyedWindow(HWND window) {
    if (window != mainWindow)
        return;
    mainWindow = nullptr;
    // Only the running loop ends; tests that build windows without it get no quit message.
    if (mainLoopRunning)
        PostQuitMessage(0);
}

}  // namespace toolkit::win32
