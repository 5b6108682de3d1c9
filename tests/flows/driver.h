// The program as a user drives it, on either backend: real presses on the native controls,
// keys into the focused one, and what each window and message box shows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/frmCindermoor.h"
#include "toolkit/form.h"
#include "toolkit/message_box.h"

namespace flows {

// A drive addressed as the program names it ("C:\WINDOWS\Win.ini"), none of the six files
// on it at first, every file put there gone again at the end.
class Drive {
  public:
    explicit Drive(bool withWindowsFolder = true);
    ~Drive();
    std::string InWindows(const std::string& name) const { return windows_ + "\\" + name; }
    std::string AtRoot(const std::string& name) const { return windows_.substr(0, 3) + name; }
    // Of `size` bytes, when given, the first of them `bytes`.
    void Put(const std::string& path, const std::string& bytes, std::uint64_t size = 0) const;
    std::optional<std::string> Get(const std::string& path) const;
    void Remove(const std::string& path) const { std::filesystem::remove(Local(path)); }
    // The names stored in the folder of `path`.
    std::vector<std::string> Names(const std::string& path) const;
    // Saves to `path` fail while the result lives (a full disk, or a read-only file).
    std::shared_ptr<void> SavesFail(const std::string& path) const;

  private:
    std::filesystem::path Local(const std::string& path) const;
    std::shared_ptr<void> scratch_;  // the backend's drive or its files put aside
    std::filesystem::path driveC_;
    std::string windows_;
    mutable std::vector<std::filesystem::path> put_;
};

// The process may take only `room` bytes more memory while the result lives (Linux only).
std::shared_ptr<void> MemoryLimited(std::uint64_t room);

enum class Key { Tab, ShiftTab, Enter, Escape };

toolkit::Toolkit& Gui();
bool On9x();
// The most bytes of text the big box holds, when the backend has a limit worth a test.
std::optional<std::uint64_t> TextBoxRoom();

void Press(toolkit::Control& button);
// Gives the control the focus, as a click into it does, but keeps its caret where it is.
void Focus(toolkit::Control& control);
// Into the control that has the focus.
void Type(const std::u32string& text);
void Press(Key key);
struct Look {
    std::string text;  // or caption, in UTF-8
    bool enabled, visible, focused;
    bool takesEveryCharacter;  // not only those of the code page (Win32: a Unicode window)
};
Look LookOf(toolkit::Control& control);
// Runs `inside` from the event loop of the next window `open` opens; true if it is modal.
bool WhenModal(const std::function<void()>& open, const std::function<void()>& inside);
void Settle();

// Every box shown while it lives (and no younger one does), as shown, answered with OK.
struct Boxes {
    Boxes();
    ~Boxes();
    std::vector<toolkit::ShownMessageBox> shown;
    Boxes* outer;
};
// The box the system shows, as shown, when the program asked for `asked`.
toolkit::ShownMessageBox OnScreen(const toolkit::ShownMessageBox& asked);

// The main window, started on the drive as it is, and its About window once opened.
class Program {
  public:
    Program();
    ~Program();
    // "cmdOpen(3)", "cmdSave"; About's controls while it is open.
    toolkit::Control& operator[](const std::string& name);
    void Click(const std::string& name) { Press((*this)[name]); }
    void Type(const std::string& name, const std::u32string& text) {
        flows::Focus((*this)[name]);
        flows::Type(text);
    }
    Look LookAt(const std::string& name) { return LookOf((*this)[name]); }
    std::string Shown(const std::string& name) { return LookAt(name).text; }
    // The name of the control with the focus, or "elsewhere".
    std::string Focus();
    bool WithAbout(const std::function<void(toolkit::Form&)>& inside);

  private:
    Boxes unexpected_;  // boxes no test awaits
    std::unique_ptr<editor::frmCindermoor> window_;
};

}  // namespace flows
