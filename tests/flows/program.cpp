#include <gtest/gtest.h>

#include <string>

#include "tests/flows/driver.h"

namespace flows {
namespace {

toolkit::Control* Find(toolkit::Form& form, const std::string& name) {
    for (toolkit::Control* control : form.Controls()) {
        const int index = control->Index();
        if (name ==
            (index < 0 ? control->Name() : control->Name() + "(" + std::to_string(index) + ")"))
            return control;
    }
    return nullptr;
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
        if (toolkit::Control* control = Find(*form, name))
            return *control;
    }
    throw std::out_of_range("no control " + name);
}

std::string Program::Focus() {
    for (toolkit::Form* form : Forms(*window_)) {
        for (toolkit::Control* control : form->Controls()) {
            if (Focused(*control))
                return control->Index() < 0
                           ? control->Name()
                           : control->Name() + "(" + std::to_string(control->Index()) + ")";
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
