#include "toolkit/win32/win32_form.h"

#include <cstring>
#include <exception>

#include "toolkit/handler_failures.h"
#include "toolkit/win32/ansi_text.h"
#include "toolkit/win32/message_loop.h"
#include "toolkit/win32/messages.h"
#include "toolkit/win32/picture_box.h"
#include "toolkit/win32/pictures.h"
#include "toolkit/win32/windows_family.h"

namespace toolkit::win32 {

Win32Form::Win32Form(const FormLayout& layout, FormEvents events)
    : layout_(layout), events_(ReportingFailures(layout, std::move(events))) {}

Win32Form::~Win32Form() {
    Unload();
}

void Win32Form::RegisterWindowClass() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kFormClass;
    RegisterClassA(&windowClass);
}

Win32Form* Win32Form::FromWindow(HWND window) {
    if (!window)
        return nullptr;
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, kFormClass) != 0)
        return nullptr;
    return reinterpret_cast<Win32Form*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void Win32Form::Load() {
    if (IsLoaded())
        return;
    CreateWindowAndControls(nullptr);
    if (window_ && events_.load)
        events_.load();
}

void Win32Form::Show() {
    Load();
    if (!window_)
        return;
    CentreOnScreen();
    ShowWindow(window_, SW_SHOW);
    NoteShownWindow(window_);
    SetForegroundWindow(window_);
    if (!IsChild(window_, GetFocus()))
        FocusFirst();
    UpdateWindow(window_);
}

void Win32Form::ShowModal(Form& owner) {
    auto* ownerForm = dynamic_cast<Win32Form*>(&owner);
    HWND ownerWindow = ownerForm ? ownerForm->Handle() : nullptr;
    if (!IsLoaded()) {
        CreateWindowAndControls(ownerWindow);
        if (window_ && events_.load)
            events_.load();
    } else {
        SetWindowLongPtrA(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow));
    }
    if (!window_)
        return;

    CentreOnScreen();
    modalOwner_ = ownerWindow;
    if (ownerWindow)
        EnableWindow(ownerWindow, FALSE);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    if (!IsChild(window_, GetFocus()))
        FocusFirst();
    UpdateWindow(window_);

    RunMessageLoopUntil([this] { return !window_ || !IsWindowVisible(window_); });

    ReleaseOwner();
    modalOwner_ = nullptr;
    if (ownerWindow && IsWindow(ownerWindow))
        SetActiveWindow(ownerWindow);
}

void Win32Form::Hide() {
    if (!window_)
        return;
    ReleaseOwner();
    ShowWindow(window_, SW_HIDE);
}

void Win32Form::Unload() {
    if (!window_)
        return;
    ReleaseOwner();
    DestroyWindow(window_);
}

// The owner takes input again before the modal window goes, so that Windows hands the
// activation back to it rather than to another program.
void Win32Form::ReleaseOwner() {
    if (modalOwner_ && IsWindow(modalOwner_))
        EnableWindow(modalOwner_, TRUE);
}

std::vector<Control*> Win32Form::Controls() {
    std::vector<Control*> all;
    all.reserve(controls_.size());
    for (auto& control : controls_) all.push_back(control.get());
    return all;
}

void Win32Form::CreateWindowAndControls(HWND owner) {
    dpi_ = ScreenDpi();
    fonts_ = std::make_unique<FontSet>(dpi_);

    DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    if (layout_.border == FormBorder::FixedDialog) {
        style |= WS_POPUP | DS_MODALFRAME;
        exStyle |= WS_EX_DLGMODALFRAME;
    } else {
        style |= WS_OVERLAPPED;
    }
    if (layout_.showInTaskbar)
        exStyle |= WS_EX_APPWINDOW;

    int clientWidth = TwipsToDevice(layout_.clientWidth, dpi_);
    int clientHeight = TwipsToDevice(layout_.clientHeight, dpi_);
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    CreateWindowExA(exStyle, kFormClass, layout_.caption.c_str(), style, 0, 0,
                    frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                    GetModuleHandleA(nullptr), this);
    if (!window_)
        return;

    if (layout_.icon != Picture::None) {
        SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ProgramIcon(32)));
        SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ProgramIcon(16)));
    }
    backdrop_.Render(layout_, dpi_, clientWidth, clientHeight);

    int id = kFirstControlId;
    for (const ControlLayout& control : layout_.controls) CreateControl(control, id++);
}

void Win32Form::CreateControl(const ControlLayout& layout, int id) {
    PixelRect pixels = ControlPixels(layout, dpi_);
    DWORD visible = layout.visible ? WS_VISIBLE : 0;
    auto menuId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND child = nullptr;

    switch (layout.kind) {
        case ControlKind::CommandButton: {
            // A push button's face colour is the system's; a button with a face colour of
            // its own is drawn by the form.
            DWORD style = WS_CHILD | WS_TABSTOP | WS_GROUP | visible |
                          (layout.backColor ? BS_OWNERDRAW : BS_PUSHBUTTON);
            child =
                CreateWindowExA(0, "BUTTON", layout.caption.c_str(), style, pixels.left, pixels.top,
                                pixels.width, pixels.height, window_, menuId, instance, nullptr);
            break;
        }
        case ControlKind::Label: {
            // One line, never wrapped: what does not fit is cut off at the right.
            DWORD style = WS_CHILD | visible | SS_NOPREFIX | SS_LEFTNOWORDWRAP;
            child =
                CreateWindowExA(0, "STATIC", layout.caption.c_str(), style, pixels.left, pixels.top,
                                pixels.width, pixels.height, window_, menuId, instance, nullptr);
            break;
        }
        case ControlKind::TextBox: {
            DWORD style = WS_CHILD | WS_TABSTOP | WS_GROUP | visible | ES_LEFT;
            if (layout.multiLine) {
                style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;
                if (!layout.readOnly)
                    style |= ES_WANTRETURN;
            }
            if (layout.hScroll || !layout.multiLine)
                style |= ES_AUTOHSCROLL;
            if (layout.hScroll)
                style |= WS_HSCROLL;
            if (layout.vScroll)
                style |= WS_VSCROLL;
            if (layout.readOnly)
                style |= ES_READONLY;
            // A Unicode edit box on the NT family: an ANSI one would best fit whatever the
            // user types outside the code page, silently. Windows 98 and Me have the ANSI one
            // only; there the keyboard and the clipboard give code-page text anyway.
            if (OnWindows9x()) {
                child = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", style, pixels.left,
                                        pixels.top, pixels.width, pixels.height, window_, menuId,
                                        instance, nullptr);
            } else {
                child = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", style, pixels.left,
                                        pixels.top, pixels.width, pixels.height, window_, menuId,
                                        instance, nullptr);
            }
            if (child) {
                // No length limit of its own beyond the system's (65,535 bytes on 9x, where
                // larger files are refused when read).
                SendMessageA(child, EM_SETLIMITTEXT, 0, 0);
            }
            break;
        }
        case ControlKind::PictureBox:
            child = CreatePictureBox(window_, id, WS_CHILD | WS_TABSTOP | WS_GROUP | visible,
                                     pixels.left, pixels.top, pixels.width, pixels.height,
                                     layout.picture, layout.backColor.value_or(kWhite), dpi_);
            break;
        case ControlKind::Line:
        case ControlKind::Shape:
            break;  // part of the backdrop
    }

    if (child) {
        const FontDesc& desc = layout.font.value_or(layout_.font);
        // A label of fixed width cuts off what does not fit: its caption must.
        HFONT font = layout.kind == ControlKind::Label && !layout.autoSize
                         ? fonts_->Fitting(desc, layout.caption, pixels.width)
                         : fonts_->Get(desc);
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    controls_.push_back(std::make_unique<Win32Control>(layout, child, pixels));
    if (layout.kind == ControlKind::TextBox)
        controls_.back()->SetText(layout.caption);
    if (layout.autoSize)
        controls_.back()->FitToCaption();
}

void Win32Form::CentreOnScreen() {
    RECT frame;
    GetWindowRect(window_, &frame);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(window_, nullptr, (screenWidth - width) / 2, (screenHeight - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Win32Control* Win32Form::ControlById(int id) const {
    size_t position = static_cast<size_t>(id - kFirstControlId);
    return id >= kFirstControlId && position < controls_.size() ? controls_[position].get()
                                                                : nullptr;
}

Win32Control* Win32Form::ControlByWindow(HWND child) const {
    if (!child)
        return nullptr;
    for (const auto& control : controls_) {
        if (control->Handle() == child)
            return control.get();
    }
    return nullptr;
}

LRESULT CALLBACK Win32Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form =
            static_cast<Win32Form*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!form)
        return DefWindowProcA(window, message, wParam, lParam);
    try {
        return form->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& failure) {
        // Handlers report their own failures; this is for the window's own work, since no
        // exception may pass through the system's code that called this.
        ShowFailure(form->layout_.caption, failure);
        return 0;
    }
}

LRESULT Win32Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = window_;
    switch (message) {
        case WM_COMMAND:
            return OnCommand(wParam, lParam);
        case WM_CTLCOLORSTATIC:
            return OnColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLOREDIT:
            return OnColorEdit(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLORBTN:
            return OnColorButton(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DRAWITEM:
            OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            backdrop_.PaintTo(dc, paint.rcPaint);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_PRINTCLIENT: {
            RECT client;
            GetClientRect(window, &client);
            backdrop_.PaintTo(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_ACTIVATE:
            OnActivate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_SETFOCUS:
            OnActivate(true);
            return 0;
        case kMsgFocusNext:
            MoveFocus(true);
            return 0;
        case WM_CLOSE:
            // The close box unloads the window, like a Close button; no handler runs.
            Unload();
            return 0;
        case WM_DESTROY:
            NoteDestroyedWindow(window);
            break;
        case WM_NCDESTROY:
            OnDestroyed();
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT Win32Form::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED)
        return 0;
    Win32Control* control = ControlById(LOWORD(wParam));
    if (!control || !control->IsCommandButton() ||
        reinterpret_cast<HWND>(lParam) != control->Handle()) {
        return 0;
    }
    // The handler may unload this form, and the control with it.
    const std::string name = control->Name();
    const auto index = static_cast<std::int16_t>(control->Index());
    if (auto click = events_.click)
        click(name, index);
    return 0;
}

void Win32Form::OnDestroyed() {
    controls_.clear();
    backdrop_.Release();
    fonts_.reset();
    for (auto& [colour, brush] : brushes_) DeleteObject(brush);
    brushes_.clear();
    savedFocus_ = nullptr;
    window_ = nullptr;
}

}  // namespace toolkit::win32
