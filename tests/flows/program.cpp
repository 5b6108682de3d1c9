#include <gtest/gtest.h>

#include <string>

#include "tests/flows/driver.h"

namespace flows {
namespace {

// "cmdOpen(3)" for an element of a control array.
std::string NameOf(const toolkit::Control& control) {
    const int index = control.Index();
    return index < 0 ? control.Name() : control.Name() + "(" + std::to_string(index) + ")";
}

std::vector<toolkit::Form*> Forms(editor::frmCindermoor& window) {
    std::vector<toolkit::Form*> forms{&window.Form()};
    if (window.AboutWindow() && window.AboutWindow()->Form().IsLoaded())
        forms.insert(forms.begin(), &window.AboutWindow()->Form());
    return forms;
}

Boxes* recording = nullptr;

}  // namespace

Boxes::Boxes() : outer_(recording) {
    RecordBoxesIn(recording = this);
}

Boxes::~Boxes() {
    RecordBoxesIn(recording = outer_);
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
    for (toolkit::Form* form : Forms(*window_)) {
        for (toolkit::Control* control : form->Controls()) {
            if (NameOf(*control) == name)
                return *control;
        }
    }
    throw std::out_of_range("no control " + name);
}

std::string Program::Focus() {
    for (toolkit::Form* form : Forms(*window_)) {
        for (toolkit::Control* control : form->Controls()) {
            if (Focused(*control))
                return NameOf(*control);
        }
    }
    return "elsewhere";
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
