// Text boxes, labels and buttons of the Win32 backend on a small window of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

#include "tests/win32/support/wine_gui.h"
#include "toolkit/layout.h"

namespace {

using testsupport::HandleOf;
using toolkit::ControlKind;
using toolkit::ControlLayout;

toolkit::FormLayout TestLayout() {
    toolkit::FormLayout form;
    form.name = "frmTest";
    form.caption = "Test";
    form.clientWidth = 6000;
    form.clientHeight = 4500;
    form.font = {"MS Sans Serif", 8.25, false};

    ControlLayout box;
    box.name = "txtBox";
    box.kind = ControlKind::TextBox;
    box.left = 150, box.top = 150, box.width = 4500, box.height = 3000;
    box.tabIndex = 0;
    box.multiLine = box.hScroll = box.vScroll = true;
    form.controls.push_back(box);

    for (int i = 0; i < 2; ++i) {
        ControlLayout button;
        button.name = "cmdArray";
        button.index = i;
        button.caption = "Button " + std::to_string(i);
        button.left = 4800, button.top = 150 + 450 * i, button.width = 1050, button.height = 375;
        button.tabIndex = 1 + i;
        form.controls.push_back(button);
    }
    return form;
}

class TextBoxes : public ::testing::Test {
  protected:
    void SetUp() override {
        form = testsupport::Gui().CreateForm(
            TestLayout(), {{}, [this](const std::string& name, std::int16_t index) {
                               clicks.push_back(name + "(" + std::to_string(index) + ")");
                           }});
        form->Show();
        testsupport::ProcessMessages();
    }
    void TearDown() override {
        form.reset();
        testsupport::ProcessMessages();
    }
    toolkit::Control& Box() { return form->Get("txtBox"); }

    std::unique_ptr<toolkit::Form> form;
    std::vector<std::string> clicks;
};

TEST_F(TextBoxes, EveryByteButNulPassesThroughUnchanged) {
    std::string bytes;
    for (int c = 1; c < 256; ++c) bytes += static_cast<char>(c);
    bytes += "\r\n" + bytes;
    Box().SetText(bytes);
    const toolkit::AnsiText back = Box().Text();
    EXPECT_FALSE(back.refusal);
    EXPECT_EQ(back.bytes, bytes);
    EXPECT_EQ(testsupport::TextOf(HandleOf(Box())), bytes);
}

TEST_F(TextBoxes, LineEndsOfEveryKindPassUnchanged) {
    const std::string text = "CR LF\r\nLF\nCR\rtwo\r\n\r\nend without one";
    Box().SetText(text);
    EXPECT_EQ(Box().Text().bytes, text);
    Box().SetText("");
    EXPECT_EQ(Box().Text().bytes, "");
}

TEST_F(TextBoxes, LargeFilesLoadWholeAndStayEditable) {
    std::string big;
    while (big.size() < 6'000'000) big += "DEVICE=C:\\WINDOWS\\HIMEM.SYS /TESTMEM:OFF\r\n";
    Box().SetText(big);
    const std::string back = Box().Text().bytes;
    ASSERT_EQ(back.size(), big.size());
    EXPECT_EQ(std::mismatch(back.begin(), back.end(), big.begin()).first - back.begin(),
              static_cast<std::ptrdiff_t>(big.size()));  // the position of the first difference
    // No length limit of its own: the user can type beyond what was loaded.
    HWND edit = HandleOf(Box());
    EXPECT_GE(static_cast<unsigned long>(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEul);
    SendMessageA(edit, EM_SETSEL, big.size(), big.size());
    SendMessageA(edit, WM_CHAR, 'Z', 1);
    const std::string typed = Box().Text().bytes;
    EXPECT_EQ(typed.size(), big.size() + 1);
    EXPECT_EQ(typed.back(), 'Z');
}

TEST_F(TextBoxes, TextCutShortByANulByteIsNeverGivenBackAsWhole) {
    Box().SetText(std::string("before\0after", 12));
    const toolkit::AnsiText back = Box().Text();
    EXPECT_EQ(back.refusal, toolkit::Refusal::NulCut());
    EXPECT_TRUE(back.bytes.empty());
    Box().SetText("whole");
    EXPECT_FALSE(Box().Text().refusal);
    EXPECT_EQ(Box().Text().bytes, "whole");
}

TEST_F(TextBoxes, ControlArrayClicksCarryTheirIndex) {
    SendMessageA(HandleOf(form->Get("cmdArray", 1)), BM_CLICK, 0, 0);
    SendMessageA(HandleOf(form->Get("cmdArray", 0)), BM_CLICK, 0, 0);
    const std::vector<std::string> expected = {"cmdArray(1)", "cmdArray(0)"};
    EXPECT_EQ(clicks, expected);
}

TEST_F(TextBoxes, GreyedButtonsAreDisabledForWindowsAndGiveUpTheFocus) {
    toolkit::Control& first = form->Get("cmdArray", 0);
    SetFocus(HandleOf(first));
    first.SetEnabled(false);
    EXPECT_FALSE(first.Enabled());
    // Disabled for Windows itself, which then routes no mouse or keyboard input to it.
    EXPECT_TRUE(GetWindowLongPtrA(HandleOf(first), GWL_STYLE) & WS_DISABLED);
    EXPECT_EQ(GetFocus(), HandleOf(form->Get("cmdArray", 1)));
    first.SetEnabled(true);
    EXPECT_TRUE(first.Enabled());
}

TEST_F(TextBoxes, HiddenControlsGiveUpTheFocusAndComeBack) {
    SetFocus(HandleOf(Box()));
    Box().SetVisible(false);
    EXPECT_FALSE(Box().Visible());
    EXPECT_FALSE(IsWindowVisible(HandleOf(Box())));
    EXPECT_EQ(GetFocus(), HandleOf(form->Get("cmdArray", 0)));
    Box().SetVisible(true);
    EXPECT_TRUE(Box().Visible());
}

TEST_F(TextBoxes, UnloadDestroysTheWindowAndLoadStartsAfresh) {
    Box().SetText("edited");
    HWND old = testsupport::WindowOf(*form);
    form->Unload();
    EXPECT_FALSE(form->IsLoaded());
    EXPECT_FALSE(IsWindow(old));
    EXPECT_TRUE(form->Controls().empty());
    form->Load();
    EXPECT_TRUE(form->IsLoaded());
    EXPECT_EQ(Box().Text().bytes, "");
    EXPECT_FALSE(IsWindowVisible(testsupport::WindowOf(*form)));  // loaded, not shown
}

TEST(HandlerFailures, AFailingClickShowsWhatFailedAndTheWindowGoesOn) {
    int clicks = 0;
    auto form = testsupport::Gui().CreateForm(TestLayout(),
                                              {{}, [&clicks](const std::string&, std::int16_t) {
                                                   ++clicks;
                                                   throw std::runtime_error("The disk is full.");
                                               }});
    form->Show();
    testsupport::ProcessMessages();
    testsupport::MessageBoxRecorder boxes;
    for (int i = 0; i < 2; ++i) SendMessageA(HandleOf(form->Get("cmdArray", 0)), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].prompt, "The disk is full.");
    EXPECT_EQ(boxes.Boxes()[1].style, 16);
    EXPECT_EQ(boxes.Boxes()[1].caption, "Test");
    form.reset();
    testsupport::ProcessMessages();
}

}  // namespace
