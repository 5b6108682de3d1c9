// A window's click handlers as a table: which control's click runs which handler.
// Checked against the window's layout before the window is used, so that a misspelt name or a
// button without a handler stops the program at start-up instead of a click doing nothing.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/layout.h"

namespace toolkit {

// The table of a window does not match its layout, or a click came from a control it lacks.
class ClickTableError : public std::logic_error {
  public:
    using std::logic_error::logic_error;
};

template <class Window>
class ClickTable {
  public:
    struct Row {
        Row(const char* control, void (Window::*handler)()) : control(control), plain(handler) {}
        // A control array's handler takes the clicked element's Index.
        Row(const char* control, void (Window::*handler)(std::int16_t))
            : control(control), indexed(handler) {}
        std::string control;
        void (Window::*plain)() = nullptr;
        void (Window::*indexed)(std::int16_t) = nullptr;
    };

    ClickTable(std::initializer_list<Row> rows) : rows_(rows) {}

    // Throws ClickTableError naming every row whose control is no command button of the layout
    // or whose handler takes an Index exactly when the control is no control array, every
    // control with two rows, and every command button without a row.
    void Check(const FormLayout& layout) const {
        std::vector<std::string> problems;
        const auto note = [&problems](const std::string& problem) {
            if (std::find(problems.begin(), problems.end(), problem) == problems.end())
                problems.push_back(problem);
        };
        for (const Row& row : rows_) {
            const ControlLayout* button = ButtonOf(layout, row.control);
            if (!button)
                note("a handler for " + row.control + ", which is no command button of it");
            else if (button->IsArrayElement() != (row.indexed != nullptr))
                note("the handler for " + row.control + (row.indexed ? " takes" : " lacks") +
                     " the Index of a control array");
            if (&row != Find(row.control))
                note("two handlers for " + row.control);
        }
        for (const ControlLayout& control : layout.controls) {
            if (control.kind == ControlKind::CommandButton && !Find(control.name))
                note("no handler for the command button " + control.name);
        }
        if (problems.empty())
            return;
        std::string message =
            "The click handlers of " + layout.name + " do not match its controls:";
        for (const std::string& problem : problems) message += "\n- " + problem;
        throw ClickTableError(message);
    }

    void Dispatch(Window& window, const std::string& control, std::int16_t index) const {
        const Row* row = Find(control);
        if (!row)
            throw ClickTableError("no click handler for " + control);
        if (row->indexed)
            (window.*row->indexed)(index);
        else
            (window.*row->plain)();
    }

  private:
    const Row* Find(const std::string& control) const {
        for (const Row& row : rows_) {
            if (row.control == control)
                return &row;
        }
        return nullptr;
    }

    static const ControlLayout* ButtonOf(const FormLayout& layout, const std::string& name) {
        for (const ControlLayout& control : layout.controls) {
            if (control.name == name && control.kind == ControlKind::CommandButton)
                return &control;
        }
        return nullptr;
    }

    std::vector<Row> rows_;
};

}  // namespace toolkit
