// A form built from its layout as a top-level window with child controls.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/win32/backdrop.h"
#include "toolkit/win32/fonts.h"
#include "toolkit/win32/win32_api.h"
#include "toolkit/win32/win32_control.h"

namespace toolkit::win32 {

class Win32Form final : public Form {
  public:
    Win32Form(const FormLayout& layout, FormEvents events);
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;
    ~Win32Form() override;

    static void RegisterWindowClass();
    // The form whose top-level window this is, or nullptr.
    static Win32Form* FromWindow(HWND window);

    const FormLayout& Layout() const override { return layout_; }
    void Load() override;
    bool IsLoaded() const override { return window_ != nullptr; }
    void Show() override;
    void ShowModal(Form& owner) override;
    void Hide() override;
    void Unload() override;
    std::vector<Control*> Controls() override;

    HWND Handle() const { return window_; }
    // Keyboard navigation: Tab by tab index, Enter on the focused button, Escape ignored.
    // Returns true when the message was handled.
    bool PreTranslate(MSG& message);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateWindowAndControls(HWND owner);
    void CreateControl(const ControlLayout& layout, int id);
    void CentreOnScreen();
    void FocusFirst();
    void MoveFocus(bool forward);
    Win32Control* NextToFocus(std::optional<std::size_t> current, bool forward) const;
    Win32Control* ControlById(int id) const;
    Win32Control* ControlByWindow(HWND child) const;
    void ReleaseOwner();

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnColorStatic(HDC dc, HWND child);
    LRESULT OnColorEdit(HDC dc, HWND child);
    LRESULT OnColorButton(HDC dc, HWND child);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnActivate(bool active);
    void OnDestroyed();
    HBRUSH SolidBrush(COLORREF colour);

    const FormLayout layout_;
    FormEvents events_;
    HWND window_ = nullptr;
    HWND modalOwner_ = nullptr;
    HWND savedFocus_ = nullptr;
    int dpi_ = 96;
    std::unique_ptr<FontSet> fonts_;
    Backdrop backdrop_;
    std::vector<std::unique_ptr<Win32Control>> controls_;
    std::vector<std::pair<COLORREF, HBRUSH>> brushes_;
};

}  // namespace toolkit::win32
