// One control of a Win32 form: a child window, or for lines and shapes only their layout
// (the form paints those itself).
#pragma once

#include <string>

#include "toolkit/form.h"
#include "toolkit/win32/metrics.h"
#include "toolkit/win32/win32_api.h"

namespace toolkit::win32 {

class Win32Control final : public Control {
  public:
    Win32Control(const ControlLayout& layout, HWND handle, PixelRect pixels);
    Win32Control(const Win32Control&) = delete;
    Win32Control& operator=(const Win32Control&) = delete;

    const ControlLayout& Layout() const override { return layout_; }

    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    AnsiText Text() const override;
    void SetText(const std::string& bytes) override;
    bool Visible() const override;
    void SetVisible(bool visible) override;

    HWND Handle() const { return handle_; }
    // Whether the control is a tab stop (form_rules.h) that has a window to take the focus.
    bool TakesFocus() const;
    bool CanTakeFocusNow() const;
    // Labels that size themselves: one line, the width of the caption.
    void FitToCaption();

  private:
    std::string WindowText() const;
    void HandFocusOnIfHeld();

    ControlLayout layout_;
    HWND handle_;
    PixelRect pixels_;
    bool lightweightVisible_;
    // The edit box ends its text at the first NUL byte; a text that held one cannot be
    // given back whole, and is refused as cut rather than saved cut short.
    bool lostAtNul_ = false;
};

}  // namespace toolkit::win32
