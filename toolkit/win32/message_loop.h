// The one message loop of the Win32 backend, shared by the main loop and modal windows.
#pragma once

#include <functional>

#include "toolkit/win32/win32_api.h"

namespace toolkit::win32 {

// Hands a message to the form it belongs to for keyboard navigation, else dispatches it.
void DispatchThroughForms(MSG& message);

// Runs the loop until done() holds; returns false when the program is quitting (the quit
// message stays queued for the outermost loop).
bool RunMessageLoopUntil(const std::function<bool()>& done);

// Handles every message already queued, then returns.
void ProcessPendingMessages();

// The main loop: runs until the main window is closed; returns the exit code.
int RunMainLoop();

// The main window is the first one shown without an owner; closing it ends the main loop.
void NoteShownWindow(HWND window);
void NoteDestroyedWindow(HWND window);

}  // namespace toolkit::win32
