// The main window as Windows built it from its layout table: frame, placement, controls,
// fonts and what the form paints itself.
#include <gtest/gtest.h>

#include <memory>

#include "editor/frmCindermoor.h"
#include "editor/frmCindermoor_layout.h"
#include "tests/win32/support/drive_files.h"
#include "tests/win32/support/wine_gui.h"
#include "toolkit/win32/fonts.h"
#include "toolkit/win32/metrics.h"
#include "toolkit/win32/pictures.h"

namespace {

using testsupport::HandleOf;
using testsupport::Printed;
using testsupport::WindowOf;
using toolkit::ControlKind;
using toolkit::win32::TwipsToDevice;

RECT RectInParent(HWND child) {
    RECT area;
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&area), 2);
    return area;
}

bool IsDark(COLORREF pixel) {
    return GetRValue(pixel) < 96 && GetGValue(pixel) < 96 && GetBValue(pixel) < 96;
}

class MainWindowLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        main = std::make_unique<editor::frmCindermoor>(testsupport::Gui());
        main->Show();
        testsupport::ProcessMessages();
        window = WindowOf(main->Form());
        dpi = toolkit::win32::ScreenDpi();
    }
    void TearDown() override {
        main.reset();
        testsupport::ProcessMessages();
    }

    testsupport::ConfigFilesAside aside;
    std::unique_ptr<editor::frmCindermoor> main;
    HWND window = nullptr;
    int dpi = 96;
};

TEST_F(MainWindowLayout, FrameIsFixedWithOnlyACloseBox) {
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(testsupport::TextOf(window), "Cindermoor");
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    RECT client;
    GetClientRect(window, &client);
    const auto& layout = editor::frmCindermoorLayout();
    EXPECT_EQ(client.right, TwipsToDevice(layout.clientWidth, dpi));
    EXPECT_EQ(client.bottom, TwipsToDevice(layout.clientHeight, dpi));
    if (dpi == 96) {
        EXPECT_EQ(client.right, 579);
        EXPECT_EQ(client.bottom, 267);
    }
}

TEST_F(MainWindowLayout, IsCentredOnTheScreenAndShown) {
    EXPECT_TRUE(IsWindowVisible(window));
    RECT frame;
    GetWindowRect(window, &frame);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs((frame.left + frame.right) - screenWidth), 1);
    EXPECT_LE(std::abs((frame.top + frame.bottom) - screenHeight), 1);
}

TEST_F(MainWindowLayout, TitleBarShowsTheProgramIcon) {
    auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    EXPECT_NE(info.hbmMask, nullptr);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(MainWindowLayout, ControlsStandWhereTheTableSays) {
    const auto& layout = editor::frmCindermoorLayout();
    const auto controls = main->Form().Controls();
    ASSERT_EQ(controls.size(), layout.controls.size());
    ASSERT_EQ(controls.size(), 16u);
    for (size_t i = 0; i < controls.size(); ++i) {
        const toolkit::ControlLayout& row = layout.controls[i];
        SCOPED_TRACE(row.name + "(" + std::to_string(row.index) + ")");
        EXPECT_EQ(controls[i]->Name(), row.name);
        EXPECT_EQ(controls[i]->Index(), row.index);
        HWND child = HandleOf(*controls[i]);
        if (row.kind == ControlKind::Line || row.kind == ControlKind::Shape) {
            EXPECT_EQ(child, nullptr);  // painted by the form
            continue;
        }
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(GetParent(child), window);
        const RECT area = RectInParent(child);
        EXPECT_EQ(area.left, TwipsToDevice(row.left, dpi));
        EXPECT_EQ(area.top, TwipsToDevice(row.top, dpi));
        if (row.autoSize)
            continue;  // the width follows the caption (below)
        EXPECT_EQ(area.right - area.left, TwipsToDevice(row.width, dpi));
        EXPECT_EQ(area.bottom - area.top, TwipsToDevice(row.height, dpi));
    }
}

TEST_F(MainWindowLayout, ControlsAreOfTheRightKind) {
    char className[32];
    for (toolkit::Control* control : main->Form().Controls()) {
        HWND child = HandleOf(*control);
        if (!child)
            continue;
        SCOPED_TRACE(control->Name());
        GetClassNameA(child, className, sizeof className);
        const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
        switch (control->Kind()) {
            case ControlKind::CommandButton:
                EXPECT_STREQ(className, "Button");
                EXPECT_TRUE(style & WS_TABSTOP);
                EXPECT_EQ(testsupport::TextOf(child), control->Layout().caption);
                break;
            case ControlKind::Label:
                EXPECT_STREQ(className, "Static");
                EXPECT_FALSE(style & WS_TABSTOP);
                break;
            case ControlKind::TextBox:
                EXPECT_STREQ(className, "Edit");
                break;
            default:
                break;
        }
    }
    // The big text box: both scroll bars, no wrapping, editable, new lines on Enter.
    const LONG_PTR edit = GetWindowLongPtrA(HandleOf(main->Form().Get("txtDisplay")), GWL_STYLE);
    EXPECT_TRUE(edit & ES_MULTILINE);
    EXPECT_TRUE(edit & WS_VSCROLL);
    EXPECT_TRUE(edit & WS_HSCROLL);
    EXPECT_TRUE(edit & ES_AUTOHSCROLL);
    EXPECT_TRUE(edit & ES_WANTRETURN);
    EXPECT_FALSE(edit & ES_READONLY);
    // Only "v1.5" has a face colour of its own, so only it is drawn by the form.
    for (toolkit::Control* control : main->Form().Controls()) {
        if (!control->IsCommandButton())
            continue;
        const LONG_PTR type = GetWindowLongPtrA(HandleOf(*control), GWL_STYLE) & BS_TYPEMASK;
        EXPECT_EQ(type, control->Name() == "cmdVer" ? BS_OWNERDRAW : BS_PUSHBUTTON)
            << control->Name();
    }
}

TEST_F(MainWindowLayout, FontsFollowTheLayout) {
    const auto& layout = editor::frmCindermoorLayout();
    for (toolkit::Control* control : main->Form().Controls()) {
        HWND child = HandleOf(*control);
        if (!child || control->Kind() == ControlKind::PictureBox)
            continue;
        SCOPED_TRACE(control->Name());
        const toolkit::FontDesc expected = control->Layout().font.value_or(layout.font);
        auto font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTA logical{};
        GetObjectA(font, sizeof logical, &logical);
        EXPECT_EQ(logical.lfHeight, toolkit::win32::FontHeightForPoints(expected.points, dpi));
        EXPECT_EQ(logical.lfWeight, expected.bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(logical.lfCharSet, ANSI_CHARSET);
        EXPECT_FALSE(logical.lfItalic || logical.lfUnderline || logical.lfStrikeOut);
        EXPECT_STREQ(logical.lfFaceName, toolkit::win32::ResolveFace(expected.face).c_str());
    }
    if (dpi == 96) {
        LOGFONTA title{};
        GetObjectA(reinterpret_cast<HFONT>(
                       SendMessageA(HandleOf(main->Form().Get("txtME")), WM_GETFONT, 0, 0)),
                   sizeof title, &title);
        EXPECT_EQ(title.lfHeight, -15);  // 11.25 pt
    }
}

TEST_F(MainWindowLayout, SelfSizingLabelsFollowTheirCaptionOnOneLine) {
    toolkit::Control& label = main->Form().Get("lblFileName");
    HWND child = HandleOf(label);
    const RECT none = RectInParent(child);
    EXPECT_EQ(GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK, SS_LEFTNOWORDWRAP);

    label.SetCaption("C:\\windows\\System.ini");
    const RECT longer = RectInParent(child);
    EXPECT_EQ(longer.left, none.left);
    EXPECT_EQ(longer.top, none.top);
    EXPECT_GT(longer.right - longer.left, 2 * (none.right - none.left));
    EXPECT_EQ(longer.bottom - longer.top, none.bottom - none.top);  // still one line

    label.SetCaption("None");
    const RECT again = RectInParent(child);
    EXPECT_EQ(again.right - again.left, none.right - none.left);
}

TEST_F(MainWindowLayout, FormPaintsPictureAndLinesBeneathTheControls) {
    const Printed printed(window);
    HBITMAP background = toolkit::win32::PictureBitmap(toolkit::Picture::Background);
    ASSERT_NE(background, nullptr);
    const SIZE natural = toolkit::win32::BitmapSize(background);
    EXPECT_EQ(natural.cx, 576);
    EXPECT_EQ(natural.cy, 309);
    if (dpi != 96)
        return;  // the pixel checks below hold at the layout's own scale

    // The picture at its natural size from the top-left corner, neither stretched nor tiled.
    HDC picture = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(picture, background);
    for (POINT p : {POINT{0, 0}, POINT{575, 0}, POINT{300, 250}, POINT{560, 60}, POINT{100, 266}}) {
        EXPECT_EQ(printed.At(p.x, p.y), GetPixel(picture, p.x, p.y)) << p.x << "," << p.y;
    }
    SelectObject(picture, old);
    DeleteDC(picture);
    // Right of the picture the white back colour shows.
    for (int x = 576; x < 579; ++x) EXPECT_EQ(printed.At(x, 100), RGB(255, 255, 255));
    // Line1 and Line2, one pixel wide, from x = 12 to 111.
    for (int x : {12, 60, 111}) {
        EXPECT_EQ(printed.At(x, 114), RGB(0, 0, 0)) << x;
        EXPECT_EQ(printed.At(x, 177), RGB(0, 0, 0)) << x;
    }
    EXPECT_NE(printed.At(60, 115), RGB(0, 0, 0));
    EXPECT_NE(printed.At(11, 114), RGB(0, 0, 0));
    EXPECT_NE(printed.At(113, 177), RGB(0, 0, 0));
}

TEST_F(MainWindowLayout, LabelsShowThePictureBehindTheirText) {
    const Printed form(window);
    for (const char* name : {"txtME", "lblCurFile", "lblFileName"}) {
        SCOPED_TRACE(name);
        HWND label = HandleOf(main->Form().Get(name));
        const Printed printed(label);
        const RECT area = RectInParent(label);
        int text = 0, behind = 0, edges = 0;
        for (int y = 0; y < area.bottom - area.top; ++y) {
            for (int x = 0; x < area.right - area.left; ++x) {
                const COLORREF pixel = printed.At(x, y);
                if (IsDark(pixel)) {
                    ++text;  // the caption's letters
                } else if (pixel == form.At(area.left + x, area.top + y)) {
                    ++behind;
                } else {
                    ++edges;  // smoothed edges of the letters
                }
            }
        }
        EXPECT_GT(text, 20);
        // Around its letters the label shows exactly what the form painted beneath it.
        EXPECT_GT(behind, text + edges);
    }
}

// Over the coloured part of the picture, where a label painting its own background would
// show.
TEST(TransparentLabel, ShowsTheColouredPictureAroundItsLetters) {
    toolkit::FormLayout layout;
    layout.name = "frmLabel";
    layout.caption = "Label";
    layout.clientWidth = 8685;
    layout.clientHeight = 4005;
    layout.picture = toolkit::Picture::Background;
    layout.font = {"Tahoma", 8.25, false};
    toolkit::ControlLayout label;
    label.name = "lblOver";
    label.kind = ControlKind::Label;
    label.caption = "over the squares";
    label.left = 6000, label.top = 3300, label.width = 3000, label.height = 600;
    label.transparent = true;
    layout.controls.push_back(label);
    auto form = testsupport::Gui().CreateForm(layout, {});
    form->Show();
    testsupport::ProcessMessages();

    const Printed picture(WindowOf(*form));
    HWND child = HandleOf(form->Get("lblOver"));
    const Printed printed(child);
    const RECT area = RectInParent(child);
    int text = 0, colouredBehind = 0, other = 0;
    for (int y = 0; y < area.bottom - area.top; ++y) {
        for (int x = 0; x < area.right - area.left; ++x) {
            const COLORREF pixel = printed.At(x, y);
            const COLORREF beneath = picture.At(area.left + x, area.top + y);
            if (IsDark(pixel)) {
                ++text;
            } else if (pixel == beneath && beneath != RGB(255, 255, 255)) {
                ++colouredBehind;
            } else if (pixel != beneath) {
                ++other;
            }
        }
    }
    EXPECT_GT(text, 20);
    EXPECT_GT(colouredBehind, 500);
    EXPECT_LT(other, colouredBehind / 4);
    // Windows 98 and Me would tile the first 8 x 8 pixels of a pattern brush.
    if (testsupport::OnWindows9x()) {
        HDC dc = GetDC(child);
        const LRESULT brush =
            SendMessageA(WindowOf(*form), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(child));
        LOGBRUSH kind{};
        GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof kind, &kind);
        EXPECT_NE(kind.lbStyle, static_cast<UINT>(BS_PATTERN));
        ReleaseDC(child, dc);
    }
}

TEST_F(MainWindowLayout, PictureBoxShowsTheLogoOnWhite) {
    HWND logo = HandleOf(main->Form().Get("win"));
    const Printed printed(logo);
    RECT client;
    GetClientRect(logo, &client);
    EXPECT_EQ(printed.At(client.right - 1, client.bottom - 1), RGB(255, 255, 255));
    HBITMAP picture = toolkit::win32::PictureBitmap(toolkit::Picture::Logo);
    ASSERT_NE(picture, nullptr);
    const SIZE size = toolkit::win32::BitmapSize(picture);
    EXPECT_EQ(size.cx, 36);
    EXPECT_EQ(size.cy, 32);
    if (dpi != 96)
        return;
    EXPECT_EQ(printed.At(36, 0), RGB(255, 255, 255));  // right of the logo
    EXPECT_EQ(printed.At(0, 32), RGB(255, 255, 255));  // below it
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, picture);
    for (POINT p : {POINT{0, 0}, POINT{10, 10}, POINT{20, 16}, POINT{35, 31}}) {
        EXPECT_EQ(printed.At(p.x, p.y), GetPixel(source, p.x, p.y)) << p.x << "," << p.y;
    }
    SelectObject(source, old);
    DeleteDC(source);
}

}  // namespace
