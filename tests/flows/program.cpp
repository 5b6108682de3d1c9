#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/flows/driver.h"
#include "tests/support/files.h"

namespace flows {
namespace {

Boxes* recording = nullptr;

// "cmdOpen(3)" for an element of a control array.
std::string NameOf(const toolkit::Control& control) {
    const int index = control.Index();
    return index < 0 ? control.Name() : control.Name() + "(" + std::to_string(index) + ")";
}

// The first control of the open windows, About's first, for which `wanted` holds.
toolkit::Control* Find(editor::frmCindermoor& window,
                       const std::function<bool(toolkit::Control&)>& wanted) {
    std::vector<toolkit::Form*> forms{&window.Form()};
    if (window.AboutWindow() && window.AboutWindow()->Form().IsLoaded())
        forms.insert(forms.begin(), &window.AboutWindow()->Form());
    for (toolkit::Form* form : forms) {
        for (toolkit::Control* control : form->Controls()) {
            if (wanted(*control))
                return control;
        }
    }
    return nullptr;
}

}  // namespace

Drive::~Drive() {
    std::error_code ignored;
    for (const std::filesystem::path& file : put_) std::filesystem::remove(file, ignored);
}
std::filesystem::path Drive::Local(const std::string& path) const {
    std::string relative = path.substr(3);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return driveC_ / relative;
}
void Drive::Put(const std::string& path, const std::string& bytes, std::uint64_t size) const {
    testsupport::WriteBytes(Local(path), bytes);
    put_.push_back(Local(path));
    if (size)
        std::filesystem::resize_file(Local(path), size);  // sparse where the system can
}
std::optional<std::string> Drive::Get(const std::string& path) const {
    return testsupport::ReadBytes(Local(path));
}
std::vector<std::string> Drive::Names(const std::string& path) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Local(path).parent_path()))
        names.push_back(entry.path().filename().string());
    return names;
}

Boxes::Boxes() : outer(recording) {
    recording = this;
    toolkit::SetMessageBoxObserver([](const toolkit::ShownMessageBox& asked) {
        if (recording)
            recording->shown.push_back(OnScreen(asked));
    });
}

Boxes::~Boxes() {
    recording = outer;
}

Program::Program() : window_(std::make_unique<editor::frmCindermoor>(Gui())) {
    window_->Show();
    Settle();
}

Program::~Program() {
    window_.reset();
    Settle();
    for (const toolkit::ShownMessageBox& box : unexpected_.shown)
        ADD_FAILURE() << "a box: " << box.caption << ": " << box.prompt;
}

toolkit::Control& Program::operator[](const std::string& name) {
    if (toolkit::Control* control = Find(*window_, [&](auto& c) { return NameOf(c) == name; }))
        return *control;
    throw std::out_of_range("no control " + name);
}

std::string Program::Focus() {
    toolkit::Control* focused = Find(*window_, [](auto& c) { return LookOf(c).focused; });
    return focused ? NameOf(*focused) : "elsewhere";
}

bool Program::WithAbout(const std::function<void(toolkit::Form&)>& inside) {
    return WhenModal([this] { Click("cmdVer"); },
                     [&] {
                         toolkit::Form& about = window_->AboutWindow()->Form();
                         inside(about);
                         if (about.IsLoaded())
                             Click("closeabout");
                     });
}

}  // namespace flows
