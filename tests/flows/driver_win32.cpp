// The driver on the Win32 backend: real windows under Wine, over the prefix's own C: drive.
#include <optional>
#include <vector>

#include "tests/flows/driver.h"
#include "tests/win32/support/drive_files.h"
#include "tests/win32/support/wine_gui.h"

namespace flows {

// The prefix's drive is shared: every file a test puts there goes again.
struct Drive::State {
    ~State() {
        for (const std::string& path : put) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    }
    testsupport::ConfigFilesAside aside;
    std::vector<std::string> put;
};

Drive::Drive(bool) : state_(std::make_unique<State>()) {}
Drive::~Drive() = default;
std::string Drive::InWindows(const std::string& name) const {
    return testsupport::WindowsDir() + "\\" + name;
}
std::string Drive::AtRoot(const std::string& name) const {
    return testsupport::DriveRoot() + name;
}
void Drive::Put(const std::string& path, const std::string& bytes) const {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    testsupport::WriteBytes(path, bytes);
    state_->put.push_back(path);
}
void Drive::PutSized(const std::string& path, const std::string& head, std::uint64_t size) const {
    std::string bytes = head;
    bytes.resize(size, 'x');
    Put(path, bytes);
}
std::optional<std::string> Drive::Get(const std::string& path) const {
    return testsupport::ReadBytes(path);
}
void Drive::Remove(const std::string& path) const {
    testsupport::Remove(path);
}
std::string Drive::StoredName(const std::string& path) const {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return "";
    FindClose(search);
    return found.cFileName;
}
std::size_t Drive::Neighbours(const std::string& path) const {
    std::size_t count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path.substr(0, path.rfind('\\')) + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do ++count;
    while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}
std::shared_ptr<void> Drive::SavesFail(const std::string& path) const {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    return std::shared_ptr<void>(
        nullptr, [path](void*) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL); });
}

toolkit::Toolkit& Gui() {
    return testsupport::Gui();
}
bool On9x() {
    return testsupport::OnWindows9x();
}
std::optional<std::uint64_t> TextBoxRoom() {
    if (On9x())
        return 65535;
    return std::nullopt;  // beyond what a test should write
}

void Press(toolkit::Control& button) {
    SendMessageA(testsupport::HandleOf(button), BM_CLICK, 0, 0);
    Settle();
}

void Focus(toolkit::Control& control) {
    SetFocus(testsupport::HandleOf(control));
    Settle();
}

void Type(const std::u32string& text) {
    HWND focus = GetFocus();
    for (char32_t c : text) PostMessageW(focus, WM_CHAR, static_cast<WPARAM>(c), 1);
    Settle();
}

void Press(Key key) {
    switch (key) {
        case Key::Tab:
            return testsupport::PressKey(VK_TAB);
        case Key::ShiftTab:
            return testsupport::PressKeyWith(VK_SHIFT, VK_TAB);
        case Key::Enter:
            return testsupport::PressKey(VK_RETURN);
        case Key::Escape:
            return testsupport::PressKey(VK_ESCAPE);
    }
}

std::string Shown(toolkit::Control& control) {
    HWND window = testsupport::HandleOf(control);
    std::wstring wide(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    wide.resize(static_cast<size_t>(GetWindowTextW(window, wide.data(), wide.size())));
    std::string utf8(wide.size() * 3, '\0');
    utf8.resize(static_cast<size_t>(WideCharToMultiByte(
        CP_UTF8, 0, wide.data(), wide.size(), utf8.data(), utf8.size(), nullptr, nullptr)));
    return utf8;
}

bool Enabled(toolkit::Control& control) {
    return IsWindowEnabled(testsupport::HandleOf(control));
}
bool Visible(toolkit::Control& control) {
    return IsWindowVisible(testsupport::HandleOf(control));
}
bool Focused(toolkit::Control& control) {
    return GetFocus() == testsupport::HandleOf(control);
}
bool TakesEveryCharacter(toolkit::Control& control) {
    return IsWindowUnicode(testsupport::HandleOf(control));
}
bool Modal(toolkit::Form& form, toolkit::Form& owner) {
    HWND window = testsupport::WindowOf(form);
    return IsWindowVisible(window) && GetActiveWindow() == window &&
           !IsWindowEnabled(testsupport::WindowOf(owner));
}

bool WhenModal(const std::function<void()>& open, const std::function<void()>& inside) {
    testsupport::WhenModal modal(inside);
    open();
    Settle();
    return modal.Ran();
}

void Settle() {
    testsupport::ProcessMessages();
}

void RecordBoxesIn(Boxes* boxes) {
    // The backend reports a box as the system shows it (icon and buttons read back).
    if (!boxes)
        return toolkit::SetMessageBoxObserver({});
    toolkit::SetMessageBoxObserver(
        [boxes](const toolkit::ShownMessageBox& box) { boxes->shown.push_back(box); });
}

}  // namespace flows
