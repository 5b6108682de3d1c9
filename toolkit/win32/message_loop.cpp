#include "toolkit/win32/message_loop.h"

#include "toolkit/win32/win32_form.h"

namespace toolkit::win32 {
namespace {

HWND mainWindow = nullptr;
bool mainLoopRunning = false;

}  // namespace

void DispatchThroughForms(MSG& message) {
    if (Win32Form* form = Win32Form::FromWindow(GetAncestor(message.hwnd, GA_ROOT))) {
        if (form->PreTranslate(message))
            return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

bool RunMessageLoopUntil(const std::function<bool()>& done) {
    MSG message;
    while (!done()) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
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
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
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
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
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
