// The modal message box is the system's own MessageBoxA. With an observer set (tests), a
// thread-local hook notes the box when it is created and a timer on the box reports what
// the box really shows, then presses its OK button.
#include "toolkit/message_box.h"

#include <string>
#include <utility>

#include "toolkit/win32/win32_api.h"

namespace toolkit {
namespace {

MessageBoxObserver observer;

struct Watch {
    HHOOK hook = nullptr;
    HWND box = nullptr;
};
thread_local Watch watch;

constexpr UINT_PTR kReportTimer = 0xC1D0;
constexpr int kMessageTextId = 0xFFFF;  // the prompt's static control in the system's template

std::string WindowTextOf(HWND window) {
    if (!window)
        return {};
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

BOOL CALLBACK FindIcon(HWND child, LPARAM found) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0 && (GetWindowLongPtrA(child, GWL_STYLE) & SS_ICON)) {
        *reinterpret_cast<HICON*>(found) =
            reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        return FALSE;
    }
    return TRUE;
}

// The style value as the box shows it: its buttons, its icon and its modality.
int ShownStyle(HWND box) {
    auto has = [box](int id) { return GetDlgItem(box, id) != nullptr; };
    int style = MB_OK;
    if (has(IDABORT) && has(IDRETRY) && has(IDIGNORE)) {
        style = MB_ABORTRETRYIGNORE;
    } else if (has(IDYES) && has(IDNO)) {
        style = has(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
    } else if (has(IDRETRY) && has(IDCANCEL)) {
        style = MB_RETRYCANCEL;
    } else if (has(IDOK) && has(IDCANCEL)) {
        style = MB_OKCANCEL;
    }

    HICON icon = nullptr;
    EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&icon));
    if (icon) {
        const std::pair<LPCSTR, int> icons[] = {{IDI_HAND, MB_ICONSTOP},
                                                {IDI_QUESTION, MB_ICONQUESTION},
                                                {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                                                {IDI_ASTERISK, MB_ICONINFORMATION}};
        for (const auto& [resource, flag] : icons) {
            if (LoadIconA(nullptr, resource) == icon)
                style |= flag;
        }
    }
    if (GetWindowLongPtrA(box, GWL_EXSTYLE) & WS_EX_TOPMOST)
        style |= MB_SYSTEMMODAL;
    return style;
}

void CALLBACK ReportAndAnswer(HWND box, UINT, UINT_PTR timer, DWORD) {
    KillTimer(box, timer);
    ShownMessageBox shown{WindowTextOf(GetDlgItem(box, kMessageTextId)), ShownStyle(box),
                          WindowTextOf(box)};
    if (observer)
        observer(shown);
    if (HWND ok = GetDlgItem(box, IDOK)) {
        SendMessageA(ok, BM_CLICK, 0, 0);
    } else {
        PostMessageA(box, WM_CLOSE, 0, 0);
    }
}

LRESULT CALLBACK WatchForBox(int code, WPARAM wParam, LPARAM lParam) {
    if ((code == HCBT_CREATEWND || code == HCBT_ACTIVATE) && !watch.box) {
        auto window = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (std::string(className) == "#32770") {
            watch.box = window;
            SetTimer(window, kReportTimer, USER_TIMER_MINIMUM, ReportAndAnswer);
        }
    }
    return CallNextHookEx(watch.hook, code, wParam, lParam);
}

}  // namespace

int MsgBox(const std::string& prompt, int style, const std::string& caption) {
    // Application-modal: the active window of the program is the box's owner and takes no
    // input until the box is dismissed.
    HWND owner = GetActiveWindow();
    if (!observer)
        return MessageBoxA(owner, prompt.c_str(), caption.c_str(), style);

    Watch outer = std::exchange(watch, Watch{});
    watch.hook = SetWindowsHookExA(WH_CBT, WatchForBox, nullptr, GetCurrentThreadId());
    int answer = MessageBoxA(owner, prompt.c_str(), caption.c_str(), style);
    if (watch.hook)
        UnhookWindowsHookEx(watch.hook);
    watch = outer;
    return answer;
}

void SetMessageBoxObserver(MessageBoxObserver newObserver) {
    observer = std::move(newObserver);
}

}  // namespace toolkit
