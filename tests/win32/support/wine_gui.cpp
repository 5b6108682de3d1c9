#include "tests/win32/support/wine_gui.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "toolkit/backend.h"
#include "toolkit/win32/message_loop.h"
#include "toolkit/win32/win32_control.h"
#include "toolkit/win32/win32_form.h"

namespace testsupport {
namespace {

// A run meant for Windows 98 (CINDERMOOR_WINDOWS_FAMILY=9x) that the system does not take
// for one would test the NT paths under the wrong name: it fails instead.
class WindowsFamilyCheck : public ::testing::Environment {
    void SetUp() override {
        const char* family = std::getenv("CINDERMOOR_WINDOWS_FAMILY");
        const bool wanted9x = family != nullptr && std::string(family) == "9x";
        ASSERT_EQ(OnWindows9x(), wanted9x) << "GetVersion() = " << std::hex << GetVersion();
    }
};
[[maybe_unused]] const auto* const familyCheck =
    ::testing::AddGlobalTestEnvironment(new WindowsFamilyCheck);

}  // namespace

bool OnWindows9x() {
    return (GetVersion() & 0x80000000u) != 0;
}

toolkit::Toolkit& Gui() {
    static std::unique_ptr<toolkit::Toolkit> toolkit = toolkit::CreateToolkit();
    return *toolkit;
}

HWND WindowOf(toolkit::Form& form) {
    return dynamic_cast<toolkit::win32::Win32Form&>(form).Handle();
}

HWND HandleOf(toolkit::Control& control) {
    return dynamic_cast<toolkit::win32::Win32Control&>(control).Handle();
}

void ProcessMessages() {
    toolkit::win32::ProcessPendingMessages();
}

void PressKey(WORD virtualKey) {
    HWND target = GetFocus();
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageA(target, WM_KEYUP, virtualKey, 1 | (1u << 30) | (1u << 31));
    ProcessMessages();
}

void PressKeyWith(WORD modifier, WORD virtualKey) {
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE held = keys[modifier];
    keys[modifier] = 0x80;
    SetKeyboardState(keys);
    PressKey(virtualKey);
    GetKeyboardState(keys);
    keys[modifier] = held;
    SetKeyboardState(keys);
}

std::string TextOf(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

namespace {
WhenModal* armed = nullptr;
}

WhenModal::WhenModal(std::function<void()> inside) : inside_(std::move(inside)) {
    armed = this;
    timer_ = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Fire);
}

WhenModal::~WhenModal() {
    if (timer_)
        KillTimer(nullptr, timer_);
    armed = nullptr;
}

void CALLBACK WhenModal::Fire(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    WhenModal* self = armed;
    if (!self)
        return;
    self->timer_ = 0;
    self->ran_ = true;
    self->inside_();
}

}  // namespace testsupport
