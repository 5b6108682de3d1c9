// Both windows and the caption sheet as the Win32 backend draws them, frames included, saved
// as BMP files in the current folder for compare.sh.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "editor/frmCindermoor.h"
#include "tests/screens/scene.h"
#include "tests/support/files.h"
#include "toolkit/backend.h"
#include "toolkit/win32/message_loop.h"
#include "toolkit/win32/win32_form.h"
#include "toolkit/win32/windows_family.h"

namespace {

editor::frmCindermoor* shownMain = nullptr;

// The whole window, frame included, as Wine shows it, into a 24-bit top-down bitmap written
// out as a BMP file.
bool Save(toolkit::Form& form, const char* file) {
    HWND window = dynamic_cast<toolkit::win32::Win32Form&>(form).Handle();
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    toolkit::win32::ProcessPendingMessages();
    HideCaret(nullptr);  // it blinks
    RECT frame;
    GetWindowRect(window, &frame);
    // Each window is centred on the screen; the About window belongs to the main one.
    const int offX = frame.left + frame.right - GetSystemMetrics(SM_CXSCREEN);
    const int offY = frame.top + frame.bottom - GetSystemMetrics(SM_CYSCREEN);
    const HWND owner = GetWindow(window, GW_OWNER);
    if (std::abs(offX) > 1 || std::abs(offY) > 1 ||
        (owner && (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_APPWINDOW)) ||
        (std::string(file) == "about.bmp" &&
         owner != dynamic_cast<toolkit::win32::Win32Form&>(shownMain->Form()).Handle())) {
        std::fprintf(stderr, "%s: off centre by (%d, %d) / 2 or not owned\n", file, offX, offY);
        return false;
    }
    const LONG width = frame.right - frame.left, height = frame.bottom - frame.top;
    const DWORD headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const DWORD size = (width * 3 + 3) / 4 * 4 * height;
    const BITMAPINFOHEADER info{sizeof info, width, -height, 1, 24, BI_RGB, size, 0, 0, 0, 0};
    const BITMAPFILEHEADER header{0x4D42, headers + info.biSizeImage, 0, 0, headers};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(&info),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HDC shown = GetWindowDC(window);
    const bool copied = BitBlt(dc, 0, 0, width, height, shown, 0, 0, SRCCOPY);
    ReleaseDC(window, shown);
    GdiFlush();
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(static_cast<const char*>(bits), info.biSizeImage);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return copied && out.flush().good();
}

bool aboutSaved = false;

// Runs from the About window's modal loop.
void CALLBACK SaveAbout(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    aboutSaved = Save(shownMain->AboutWindow()->Form(), "about.bmp");
    shownMain->AboutWindow()->closeabout_Click();
}

}  // namespace

int main() {
    const char* family = std::getenv("CINDERMOOR_WINDOWS_FAMILY");
    if (family && family == std::string("9x") && !toolkit::win32::OnWindows9x()) {
        std::fprintf(stderr, "meant to run as Windows 98, but the system is of the NT family\n");
        return 1;
    }
    char windows[MAX_PATH] = {};
    const std::string folder(windows, GetWindowsDirectoryA(windows, MAX_PATH));
    for (const screens::DriveFile& file : screens::kDriveFiles)
        testsupport::WriteBytes(
            (file.inWindowsFolder ? folder + "\\" : folder.substr(0, 3)) + file.name, file.bytes);
    const auto gui = toolkit::CreateToolkit();
    editor::frmCindermoor main(*gui);
    main.Show();
    main.cmdOpen_Click(screens::kWinIniIndex);
    shownMain = &main;
    if (!Save(main.Form(), "main.bmp"))
        return 1;
    SetTimer(nullptr, 0, 0, SaveAbout);
    main.cmdVer_Click();
    return aboutSaved && Save(*screens::ShowCaptionSheet(*gui), "captions.bmp") ? 0 : 1;
}
