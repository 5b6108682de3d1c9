// The modal message box, the one toolkit operation the file services use.
#pragma once

#include <functional>
#include <string>

namespace toolkit {

// Style values as the platform's MessageBox takes them.
constexpr int vbOKOnly = 0;
constexpr int vbCritical = 16;

// Shows an application-modal box and waits until the user dismisses it.
// Prompt and caption are ANSI bytes. Returns the number of the button pressed (1 for OK).
int MsgBox(const std::string& prompt, int style, const std::string& caption);

// Test hook: when set, every box is reported to it after it is shown and before it waits,
// so that a test can check it and answer it (the backend closes the box with OK when the
// hook returns). Not used by the program itself.
struct ShownMessageBox {
    std::string prompt;
    int style = 0;
    std::string caption;
};
using MessageBoxObserver = std::function<void(const ShownMessageBox&)>;
void SetMessageBoxObserver(MessageBoxObserver observer);

}  // namespace toolkit
