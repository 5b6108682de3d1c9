// The About window as Windows built it: a modal dialog owned by the main window.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "about/frmAbout_layout.h"
#include "editor/frmCindermoor.h"
#include "tests/win32/support/drive_files.h"
#include "tests/win32/support/wine_gui.h"
#include "toolkit/win32/metrics.h"

namespace {

using testsupport::HandleOf;
using testsupport::WindowOf;
using toolkit::ControlKind;
using toolkit::win32::TwipsToDevice;

class AboutLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        main = std::make_unique<editor::frmCindermoor>(testsupport::Gui());
        main->Show();
        testsupport::ProcessMessages();
        dpi = toolkit::win32::ScreenDpi();
    }
    void TearDown() override {
        main.reset();
        testsupport::ProcessMessages();
    }

    // Clicks "v1.5"; `inside` runs while the About window is up, which is then closed.
    void WhileOpen(const std::function<void(toolkit::Form&, HWND)>& inside) {
        testsupport::WhenModal modal([&] {
            toolkit::Form& about = main->AboutWindow()->Form();
            inside(about, WindowOf(about));
            if (about.IsLoaded())
                SendMessageA(HandleOf(about.Get("closeabout")), BM_CLICK, 0, 0);
        });
        SendMessageA(HandleOf(main->Form().Get("cmdVer")), BM_CLICK, 0, 0);
        EXPECT_TRUE(modal.Ran());
    }

    testsupport::ConfigFilesAside aside;
    std::unique_ptr<editor::frmCindermoor> main;
    int dpi = 96;
};

TEST_F(AboutLayout, IsAFixedDialogOwnedByTheMainWindow) {
    HWND mainWindow = WindowOf(main->Form());
    WhileOpen([&](toolkit::Form&, HWND about) {
        EXPECT_EQ(testsupport::TextOf(about), "About WinME Cindermoor");
        EXPECT_EQ(GetWindow(about, GW_OWNER), mainWindow);
        const LONG_PTR style = GetWindowLongPtrA(about, GWL_STYLE);
        const LONG_PTR exStyle = GetWindowLongPtrA(about, GWL_EXSTYLE);
        EXPECT_TRUE(style & WS_POPUP);
        EXPECT_TRUE(style & DS_MODALFRAME);
        EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
        EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        // An owned window without WS_EX_APPWINDOW gets no taskbar entry.
        EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
        EXPECT_EQ(SendMessageA(about, WM_GETICON, ICON_BIG, 0), 0);

        RECT client;
        GetClientRect(about, &client);
        EXPECT_EQ(client.right, TwipsToDevice(about::frmAboutLayout().clientWidth, dpi));
        EXPECT_EQ(client.bottom, TwipsToDevice(about::frmAboutLayout().clientHeight, dpi));

        RECT frame;
        GetWindowRect(about, &frame);
        EXPECT_LE(std::abs(frame.left + frame.right - GetSystemMetrics(SM_CXSCREEN)), 1);
        EXPECT_LE(std::abs(frame.top + frame.bottom - GetSystemMetrics(SM_CYSCREEN)), 1);
    });
}

TEST_F(AboutLayout, ControlsStandWhereTheTableSays) {
    WhileOpen([&](toolkit::Form& about, HWND window) {
        const auto& layout = about::frmAboutLayout();
        const auto controls = about.Controls();
        ASSERT_EQ(controls.size(), 10u);
        for (size_t i = 0; i < controls.size(); ++i) {
            const toolkit::ControlLayout& row = layout.controls[i];
            SCOPED_TRACE(row.name);
            EXPECT_EQ(controls[i]->Name(), row.name);
            HWND child = HandleOf(*controls[i]);
            if (row.kind == ControlKind::Line || row.kind == ControlKind::Shape)
                continue;
            ASSERT_NE(child, nullptr);
            RECT area;
            GetWindowRect(child, &area);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
            EXPECT_EQ(area.left, TwipsToDevice(row.left, dpi));
            EXPECT_EQ(area.top, TwipsToDevice(row.top, dpi));
            EXPECT_EQ(area.right - area.left, TwipsToDevice(row.width, dpi));
            EXPECT_EQ(area.bottom - area.top, TwipsToDevice(row.height, dpi));
        }
    });
}

TEST_F(AboutLayout, TextBoxesAreReadOnlyAndTheContactBoxStartsHidden) {
    WhileOpen([&](toolkit::Form& about, HWND) {
        HWND text = HandleOf(about.Get("Text1"));
        const LONG_PTR textStyle = GetWindowLongPtrA(text, GWL_STYLE);
        EXPECT_TRUE(textStyle & ES_MULTILINE);
        EXPECT_TRUE(textStyle & ES_READONLY);
        EXPECT_TRUE(textStyle & WS_VSCROLL);
        EXPECT_FALSE(textStyle & WS_HSCROLL);
        EXPECT_FALSE(textStyle & ES_AUTOHSCROLL);  // long lines wrap
        EXPECT_EQ(testsupport::TextOf(text), about::AboutText());
        EXPECT_EQ(SendMessageA(text, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

        HWND contact = HandleOf(about.Get("electronicmail"));
        const LONG_PTR contactStyle = GetWindowLongPtrA(contact, GWL_STYLE);
        EXPECT_FALSE(contactStyle & ES_MULTILINE);
        EXPECT_TRUE(contactStyle & ES_READONLY);
        EXPECT_FALSE(contactStyle & WS_VISIBLE);
    });
}

TEST_F(AboutLayout, ReadOnlyBoxesKeepEditBoxColours) {
    WhileOpen([&](toolkit::Form& about, HWND window) {
        for (const char* name : {"Text1", "electronicmail"}) {
            SCOPED_TRACE(name);
            HWND box = HandleOf(about.Get(name));
            HDC dc = GetDC(box);
            SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(box));
            const COLORREF expected = std::string(name) == "electronicmail"
                                          ? RGB(255, 255, 255)
                                          : GetSysColor(COLOR_WINDOW);
            EXPECT_EQ(GetBkColor(dc), expected);
            ReleaseDC(box, dc);
        }
    });
}

TEST_F(AboutLayout, GreyPanelLiesBeneathWithOnlyItsTopEdgeShowing) {
    if (dpi != 96)
        GTEST_SKIP() << "pixel positions assume 96 dpi";
    WhileOpen([&](toolkit::Form&, HWND window) {
        RECT client;
        GetClientRect(window, &client);
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);

        const COLORREF grey = RGB(224, 224, 224), black = RGB(0, 0, 0), white = RGB(255, 255, 255);
        for (int x : {0, 250, 499}) {
            EXPECT_EQ(GetPixel(dc, x, 65), white) << x;
            EXPECT_EQ(GetPixel(dc, x, 66), black) << x;  // the panel's top border
            EXPECT_EQ(GetPixel(dc, x, 67), grey) << x;
            EXPECT_EQ(GetPixel(dc, x, 356), grey) << x;  // its other edges lie outside
        }
        EXPECT_EQ(GetPixel(dc, 0, 200), grey);
        EXPECT_EQ(GetPixel(dc, 499, 200), grey);
        // Line9 under the title, from x = 66 to 402 at y = 35.
        EXPECT_EQ(GetPixel(dc, 66, 35), black);
        EXPECT_EQ(GetPixel(dc, 402, 35), black);
        EXPECT_EQ(GetPixel(dc, 65, 35), white);
        EXPECT_EQ(GetPixel(dc, 404, 35), white);

        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    });
}

}  // namespace
