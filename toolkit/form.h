// The window toolkit interface: what the program needs of windows and controls, and no more.
// Handlers see only this; a backend (Qt or Win32) supplies it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/codepage/cp1252.h"
#include "toolkit/layout.h"

namespace toolkit {

// Result of reading a text box as ANSI bytes: the code page's own result, since a box
// refuses a text for the code page's reason or for its own (a NUL byte cut the text).
using AnsiText = codepage::Encoded;
using codepage::Refusal;

class Control {
  public:
    virtual ~Control() = default;

    virtual const ControlLayout& Layout() const = 0;
    const std::string& Name() const { return Layout().name; }
    int Index() const { return Layout().index; }
    ControlKind Kind() const { return Layout().kind; }
    bool IsCommandButton() const { return Kind() == ControlKind::CommandButton; }

    // Caption of a button or label.
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;

    // Enabled flag of a command button.
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;

    // Whole text of a text box, ANSI bytes in and out.
    virtual AnsiText Text() const = 0;
    virtual void SetText(const std::string& bytes) = 0;
    // The most text a text box holds, in its own units, and what a piece of ANSI text
    // takes of them (one to three per byte, adding up over pieces).
    virtual std::uint64_t TextCapacity() const { return UINT64_MAX; }
    virtual std::uint64_t TextSize(std::string_view bytes) const { return bytes.size(); }

    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
};

struct FormEvents {
    std::function<void()> load;  // after the controls exist, before shown
    std::function<void(const std::string&, std::int16_t)> click;  // control name, Index (-1: none)
};

class Form {
  public:
    virtual ~Form() = default;

    virtual const FormLayout& Layout() const = 0;

    // Loads the form when it is not loaded: builds the window and its controls from the
    // layout, then runs the load event.
    virtual void Load() = 0;
    virtual bool IsLoaded() const = 0;

    // Loads if needed, centres on the screen and shows; closing the main form ends the program.
    virtual void Show() = 0;
    // Loads if needed, centres and shows modally with an owner; returns once hidden or unloaded.
    virtual void ShowModal(Form& owner) = 0;
    virtual void Hide() = 0;
    // Destroys the window and its controls; the next Load starts from the layout again.
    virtual void Unload() = 0;

    // All controls in creation order, each element of a control array on its own.
    // Empty while the form is not loaded.
    virtual std::vector<Control*> Controls() = 0;

    Control& Get(const std::string& name, int index = -1) {
        for (Control* c : Controls()) {
            if (c->Name() == name && c->Index() == index)
                return *c;
        }
        throw std::out_of_range("no control " + name);
    }
};

// A backend creates forms and runs the event loop.
class Toolkit {
  public:
    virtual ~Toolkit() = default;
    virtual std::unique_ptr<Form> CreateForm(const FormLayout& layout, FormEvents events) = 0;
    // Runs the event loop until the main form closes; returns the exit code.
    virtual int Run() = 0;
};

}  // namespace toolkit
