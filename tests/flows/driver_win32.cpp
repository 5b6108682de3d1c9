// The driver on the Win32 backend: real windows under Wine, over the prefix's own C: drive.
#include <cstdlib>
#include <utility>

#include "tests/flows/driver.h"
#include "tests/support/files.h"
#include "toolkit/backend.h"
#include "toolkit/win32/message_loop.h"
#include "toolkit/win32/win32_control.h"

namespace flows {
namespace {
HWND HandleOf(toolkit::Control& control) {
    return dynamic_cast<toolkit::win32::Win32Control&>(control).Handle();
}
const std::function<void()>* armed = nullptr;  // what the timer of WhenModal runs
bool modal = false;

void Remove(const std::string& path) {  // read-only or not
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

// Puts the six configuration files out of the way, in the Windows folder and at the root of
// its drive, while it lives; they come back under the names they were stored by.
class ConfigFilesAside {
  public:
    explicit ConfigFilesAside(const std::string& windows)
        : folders_{windows + "\\", windows.substr(0, 3)} {
        for (const std::string& folder : folders_) {
            for (const char* name : kNames) {
                WIN32_FIND_DATAA found;
                const HANDLE search = FindFirstFileA((folder + name).c_str(), &found);
                if (search == INVALID_HANDLE_VALUE)
                    continue;
                FindClose(search);
                const std::string path = folder + found.cFileName;
                if (const std::optional<std::string> bytes = testsupport::ReadBytes(path))
                    kept_.emplace_back(path, *bytes), Remove(path);
            }
        }
    }
    ~ConfigFilesAside() {
        for (const std::string& folder : folders_)
            for (const char* name : kNames) Remove(folder + name);
        for (const auto& [path, bytes] : kept_) testsupport::WriteBytes(path, bytes);
    }

  private:
    static constexpr const char* kNames[] = {"Autoexec.bat", "Config.sys", "System.ini",
                                             "Win.ini",      "Hosts",      "Protocol"};
    const std::string folders_[2];
    std::vector<std::pair<std::string, std::string>> kept_;
};
}  // namespace

// The prefix's own drive, shared by the tests: its configuration files put aside meanwhile.
Drive::Drive(bool) {
    char windows[MAX_PATH] = {};
    windows_.assign(windows, GetWindowsDirectoryA(windows, MAX_PATH));
    driveC_ = windows_.substr(0, 3);
    scratch_ = std::make_shared<ConfigFilesAside>(windows_);
}
std::shared_ptr<void> Drive::SavesFail(const std::string& path) const {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    return std::shared_ptr<void>(
        nullptr, [path](void*) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL); });
}

toolkit::Toolkit& Gui() {
    static std::unique_ptr<toolkit::Toolkit> toolkit = toolkit::CreateToolkit();
    return *toolkit;
}
// The family the run asks for (CINDERMOOR_WINDOWS_FAMILY=9x), not the one the system claims:
// a run meant for Windows 98 that the system does not take for one fails, not passes as NT.
bool On9x() {
    const char* family = std::getenv("CINDERMOOR_WINDOWS_FAMILY");
    return family && std::string(family) == "9x";
}
std::optional<std::uint64_t> TextBoxRoom() {
    // On NT beyond what a test should write.
    return On9x() ? std::optional<std::uint64_t>(65535) : std::nullopt;
}

void Press(toolkit::Control& button) {
    SendMessageA(HandleOf(button), BM_CLICK, 0, 0);
    Settle();
}

void Focus(toolkit::Control& control) {
    SetFocus(HandleOf(control));
    Settle();
}

void Type(const std::u32string& text) {
    HWND focus = GetFocus();
    for (char32_t c : text) PostMessageW(focus, WM_CHAR, static_cast<WPARAM>(c), 1);
    Settle();
}

void Press(Key key) {
    const WORD keys[] = {VK_TAB, VK_TAB, VK_RETURN, VK_ESCAPE},
               pressed = keys[static_cast<int>(key)];
    // Posted to the focused window, with Shift held or not in the thread's keyboard state.
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = key == Key::ShiftTab ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageA(GetFocus(), WM_KEYDOWN, pressed, 1);
    PostMessageA(GetFocus(), WM_KEYUP, pressed, 1 | (1u << 30) | (1u << 31));
    Settle();
}

Look LookOf(toolkit::Control& control) {
    HWND window = HandleOf(control);
    std::wstring wide(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    wide.resize(static_cast<size_t>(GetWindowTextW(window, wide.data(), wide.size())));
    std::string utf8(wide.size() * 3, '\0');
    utf8.resize(static_cast<size_t>(WideCharToMultiByte(
        CP_UTF8, 0, wide.data(), wide.size(), utf8.data(), utf8.size(), nullptr, nullptr)));
    return {utf8, IsWindowEnabled(window) != FALSE, IsWindowVisible(window) != FALSE,
            GetFocus() == window, IsWindowUnicode(window) != FALSE};
}
bool WhenModal(const std::function<void()>& open, const std::function<void()>& inside) {
    // A thread timer fires from the message loop the modal window runs.
    armed = &inside, modal = false;
    const UINT_PTR timer =
        SetTimer(nullptr, 0, USER_TIMER_MINIMUM, [](HWND, UINT, UINT_PTR timer, DWORD) {
            KillTimer(nullptr, timer);
            if (const std::function<void()>* run = std::exchange(armed, nullptr)) {
                const HWND owner = GetWindow(GetActiveWindow(), GW_OWNER);
                modal = owner && !IsWindowEnabled(owner);
                (*run)();
            }
        });
    open();
    Settle();
    KillTimer(nullptr, timer);
    armed = nullptr;
    return modal;
}

void Settle() {
    toolkit::win32::ProcessPendingMessages();
}

toolkit::ShownMessageBox OnScreen(const toolkit::ShownMessageBox& asked) {
    return asked;  // the backend reads icon and buttons back from the box on the screen
}

}  // namespace flows
