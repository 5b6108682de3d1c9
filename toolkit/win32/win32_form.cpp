#include "toolkit/win32/win32_form.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "toolkit/win32/ansi_text.h"
#include "toolkit/win32/message_loop.h"
#include "toolkit/win32/messages.h"
#include "toolkit/win32/picture_box.h"
#include "toolkit/win32/pictures.h"

namespace toolkit::win32 {
namespace {

COLORREF ToColorRef(Rgb colour) {
    return RGB(colour.r, colour.g, colour.b);
}

RECT ChildRectInParent(HWND child, HWND parent) {
    RECT area;
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

}  // namespace

Win32Form::Win32Form(const FormLayout& layout, FormEvents events)
    : layout_(layout), events_(std::move(events)) {}

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

    if (!layout_.icon.empty()) {
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
            // A Unicode edit box (the 64-bit build runs on the NT family only): an ANSI one
            // would best fit whatever the user types outside the code page, silently.
            child =
                CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", style, pixels.left, pixels.top,
                                pixels.width, pixels.height, window_, menuId, instance, nullptr);
            if (child) {
                // No length limit of its own: whole configuration files of any size load.
                SendMessageW(child, EM_SETLIMITTEXT, 0, 0);
                SetWindowTextW(child, FromAnsi(layout.caption).c_str());
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

std::vector<Win32Control*> Win32Form::TabOrder() const {
    std::vector<Win32Control*> order;
    for (const auto& control : controls_) {
        if (control->TakesFocus())
            order.push_back(control.get());
    }
    std::stable_sort(order.begin(), order.end(), [](const Win32Control* a, const Win32Control* b) {
        return a->Layout().tabIndex < b->Layout().tabIndex;
    });
    return order;
}

void Win32Form::FocusFirst() {
    for (Win32Control* control : TabOrder()) {
        if (control->CanTakeFocusNow()) {
            SetFocus(control->Handle());
            return;
        }
    }
}

void Win32Form::MoveFocus(bool forward) {
    std::vector<Win32Control*> order = TabOrder();
    const int count = static_cast<int>(order.size());
    HWND focus = GetFocus();
    int current = -1;
    for (int i = 0; i < count; ++i) {
        if (order[i]->Handle() == focus || IsChild(order[i]->Handle(), focus))
            current = i;
    }
    for (int step = 1; step <= count; ++step) {
        int next = current < 0 ? (forward ? step - 1 : count - step)
                               : ((current + (forward ? step : -step)) % count + count) % count;
        if (order[next]->CanTakeFocusNow()) {
            SetFocus(order[next]->Handle());
            return;
        }
    }
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

bool Win32Form::PreTranslate(MSG& message) {
    if (!window_)
        return false;
    if (message.message == WM_KEYDOWN) {
        switch (message.wParam) {
            case VK_TAB: {
                if (GetKeyState(VK_MENU) < 0)
                    break;
                // As in a dialog's edit box: Tab moves the focus on, Ctrl+Tab types a tab.
                if (GetKeyState(VK_CONTROL) < 0) {
                    Win32Control* focused = ControlByWindow(GetFocus());
                    if (focused && focused->Kind() == ControlKind::TextBox &&
                        focused->Layout().multiLine && !focused->Layout().readOnly) {
                        SendMessageA(focused->Handle(), EM_REPLACESEL, TRUE,
                                     reinterpret_cast<LPARAM>("\t"));
                    }
                    return true;
                }
                MoveFocus(GetKeyState(VK_SHIFT) >= 0);
                return true;
            }
            case VK_RETURN: {
                // No default button: Enter presses the focused button and nothing else.
                Win32Control* focused = ControlByWindow(GetFocus());
                if (focused && focused->IsCommandButton()) {
                    SendMessageA(focused->Handle(), BM_CLICK, 0, 0);
                    return true;
                }
                if (focused && focused->Kind() == ControlKind::TextBox &&
                    focused->Layout().multiLine && !focused->Layout().readOnly) {
                    break;  // a new line
                }
                return true;
            }
            case VK_ESCAPE:
                return true;  // no cancel button
            default:
                break;
        }
    }
    return IsDialogMessageW(window_, &message) != FALSE;
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
        // A handler that fails must not take the program down with it.
        MessageBoxA(window, failure.what(), form->layout_.caption.c_str(), MB_OK | MB_ICONSTOP);
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

LRESULT Win32Form::OnColorStatic(HDC dc, HWND child) {
    Win32Control* control = ControlByWindow(child);
    if (!control)
        return DefWindowProcA(window_, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)child);
    const ControlLayout& layout = control->Layout();
    if (control->Kind() == ControlKind::TextBox) {
        // Read-only boxes keep the colours of an ordinary edit box, not the dialog grey.
        COLORREF back =
            layout.backColor ? ToColorRef(*layout.backColor) : GetSysColor(COLOR_WINDOW);
        SetBkColor(dc, back);
        SetTextColor(
            dc, layout.foreColor ? ToColorRef(*layout.foreColor) : GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(SolidBrush(back));
    }
    SetTextColor(dc, layout.foreColor ? ToColorRef(*layout.foreColor) : GetSysColor(COLOR_BTNTEXT));
    if (layout.transparent) {
        SetBkMode(dc, TRANSPARENT);
        RECT area = ChildRectInParent(child, window_);
        return reinterpret_cast<LRESULT>(backdrop_.BrushFor(dc, area.left, area.top));
    }
    COLORREF back = ToColorRef(layout.backColor.value_or(layout_.backColor));
    SetBkColor(dc, back);
    return reinterpret_cast<LRESULT>(SolidBrush(back));
}

LRESULT Win32Form::OnColorEdit(HDC dc, HWND child) {
    Win32Control* control = ControlByWindow(child);
    if (!control || (!control->Layout().backColor && !control->Layout().foreColor)) {
        return DefWindowProcA(window_, WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)child);
    }
    const ControlLayout& layout = control->Layout();
    COLORREF back = layout.backColor ? ToColorRef(*layout.backColor) : GetSysColor(COLOR_WINDOW);
    SetBkColor(dc, back);
    SetTextColor(dc,
                 layout.foreColor ? ToColorRef(*layout.foreColor) : GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(SolidBrush(back));
}

LRESULT Win32Form::OnColorButton(HDC dc, HWND child) {
    RECT area = ChildRectInParent(child, window_);
    return reinterpret_cast<LRESULT>(backdrop_.BrushFor(dc, area.left, area.top));
}

void Win32Form::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON)
        return;
    Win32Control* control = ControlById(static_cast<int>(item.CtlID));
    if (!control)
        return;
    const ControlLayout& layout = control->Layout();
    const bool pushed = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;
    HDC dc = item.hDC;

    RECT frame = item.rcItem;
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    RECT face = item.rcItem;
    InflateRect(&face, -2, -2);
    FillRect(dc, &face, SolidBrush(ToColorRef(layout.backColor.value_or(kWhite))));

    std::string caption = control->Caption();
    RECT text = item.rcItem;
    if (pushed)
        OffsetRect(&text, 1, 1);
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled           ? GetSysColor(COLOR_GRAYTEXT)
                     : layout.foreColor ? ToColorRef(*layout.foreColor)
                                        : GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);

    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}

// Windows hands the focus to the window itself on activation; give it back to the control
// that had it, or to the first one in tab order.
void Win32Form::OnActivate(bool active) {
    if (!window_)
        return;
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus))
            savedFocus_ = focus;
        return;
    }
    if (IsChild(window_, GetFocus()))
        return;
    Win32Control* saved = ControlByWindow(savedFocus_);
    if (saved && saved->CanTakeFocusNow()) {
        SetFocus(saved->Handle());
    } else {
        FocusFirst();
    }
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

HBRUSH Win32Form::SolidBrush(COLORREF colour) {
    for (auto& [known, brush] : brushes_) {
        if (known == colour)
            return brush;
    }
    HBRUSH brush = CreateSolidBrush(colour);
    brushes_.emplace_back(colour, brush);
    return brush;
}

}  // namespace toolkit::win32
