// Captions of fixed-width labels reach the screen whole: the last letter's ink lies inside
// the label, whichever bold face the system has for the layout's font.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/frmCindermoor.h"
#include "tests/win32/support/drive_files.h"
#include "tests/win32/support/wine_gui.h"

namespace {

using testsupport::HandleOf;
using testsupport::Printed;

// The label's rightmost column of ink, painted with room to spare: dark pixels that the
// form beneath does not have.
int InkRight(HWND label, int* width) {
    HWND form = GetParent(label);
    RECT client, area;
    GetClientRect(form, &client);
    GetWindowRect(label, &area);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&area), 2);
    *width = area.right - area.left;
    const int height = area.bottom - area.top, room = *width + 24;
    SetWindowPos(label, nullptr, 0, 0, room, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const Printed beneath(form, client.right, client.bottom);
    const Printed printed(label, room, height);
    SetWindowPos(label, nullptr, 0, 0, *width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    int right = -1;
    for (int x = 0; x < room; ++x) {
        for (int y = 0; y < height; ++y) {
            const COLORREF pixel = printed.At(x, y);
            if (GetRValue(pixel) < 96 && GetGValue(pixel) < 96 && GetBValue(pixel) < 96 &&
                pixel != beneath.At(area.left + x, area.top + y))
                right = x;
        }
    }
    return right;
}

void ExpectWhole(toolkit::Form& form, const char* name) {
    int width = 0;
    const int right = InkRight(HandleOf(form.Get(name)), &width);
    EXPECT_GT(right, width / 2) << name;  // the caption is there
    EXPECT_LT(right, width) << name;
}

// A face wider than the one the layout was made for, as on a system without Tahoma: the
// caption is still shown whole.
TEST(CaptionInk, FixedLabelsShowTheirWholeCaptionInEveryFace) {
    struct Case {
        const char* caption;
        double points;
        int width;
    };
    const Case cases[] = {{"Microsoft Windows Millennium Cindermoor", 11.25, 5055},
                          {"version 1.5", 8.25, 975}};
    for (const char* face : {"Tahoma", "DejaVu Sans", "MS Sans Serif"}) {
        for (const Case& test : cases) {
            SCOPED_TRACE(std::string(face) + ": " + test.caption);
            toolkit::FormLayout layout;
            layout.name = "frmCaption";
            layout.caption = "Caption";
            layout.clientWidth = 7500;
            layout.clientHeight = 1500;
            layout.backColor = toolkit::kWhite;
            layout.font = {face, test.points, true};
            toolkit::ControlLayout label;
            label.name = "lblCaption";
            label.kind = toolkit::ControlKind::Label;
            label.caption = test.caption;
            label.left = 150, label.top = 300, label.width = test.width, label.height = 375;
            label.transparent = true;
            layout.controls.push_back(label);
            auto form = testsupport::Gui().CreateForm(layout, {});
            form->Show();
            testsupport::ProcessMessages();
            ExpectWhole(*form, "lblCaption");
        }
    }
}

// The program's own windows on the fonts of the test prefix.
TEST(CaptionInk, TitlesAndVersionShowWhole) {
    testsupport::ConfigFilesAside aside;
    auto main = std::make_unique<editor::frmCindermoor>(testsupport::Gui());
    main->Show();
    testsupport::ProcessMessages();
    ExpectWhole(main->Form(), "txtME");
    testsupport::WhenModal modal([&] {
        toolkit::Form& about = main->AboutWindow()->Form();
        ExpectWhole(about, "Label2");
        ExpectWhole(about, "lblVersionInfo");
        SendMessageA(HandleOf(about.Get("closeabout")), BM_CLICK, 0, 0);
    });
    SendMessageA(HandleOf(main->Form().Get("cmdVer")), BM_CLICK, 0, 0);
    EXPECT_TRUE(modal.Ran());
}

}  // namespace
