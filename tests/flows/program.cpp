#include <gtest/gtest.h>

#include <string>

#include "tests/flows/driver.h"

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

Boxes::Boxes() : outer(recording) {
    RecordBoxesIn(recording = this);
}

Boxes::~Boxes() {
    RecordBoxesIn(recording = outer);
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

void Program::Type(const std::string& name, const std::u32string& text) {
    flows::Focus((*this)[name]);
    flows::Type(text);
}

std::string Program::Focus() {
    toolkit::Control* focused = Find(*window_, [](auto& c) { return Focused(c); });
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
