// Keyboard focus by tab index, and the keys a dialog-like window gives meaning to.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/identity/identity.h"
#include "editor/frmCindermoor.h"
#include "tests/win32/support/drive_files.h"
#include "tests/win32/support/wine_gui.h"

namespace {

using testsupport::HandleOf;
using testsupport::PressKey;
using testsupport::PressKeyWith;

class Keyboard : public ::testing::Test {
  protected:
    void Start(const std::vector<std::string>& present) {
        for (const std::string& name : present) {
            testsupport::WriteBytes(testsupport::WindowsDir() + "\\" + name, "x\r\n");
        }
        main = std::make_unique<editor::frmCindermoor>(testsupport::Gui());
        main->Show();
        testsupport::ProcessMessages();
    }
    void TearDown() override {
        main.reset();
        testsupport::ProcessMessages();
    }

    // The control that has the focus, as "name" or "name(index)".
    std::string Focused() {
        HWND focus = GetFocus();
        for (toolkit::Control* control : main->Form().Controls()) {
            if (HandleOf(*control) && HandleOf(*control) == focus) {
                return control->Index() < 0
                           ? control->Name()
                           : control->Name() + "(" + std::to_string(control->Index()) + ")";
            }
        }
        return "elsewhere";
    }

    std::vector<std::string> Walk(int steps, bool backwards = false) {
        std::vector<std::string> seen;
        for (int i = 0; i < steps; ++i) {
            if (backwards) {
                PressKeyWith(VK_SHIFT, VK_TAB);
            } else {
                PressKey(VK_TAB);
            }
            seen.push_back(Focused());
        }
        return seen;
    }

    testsupport::ConfigFilesAside aside;
    std::unique_ptr<editor::frmCindermoor> main;
};

const std::vector<std::string> kAllFiles = {"Autoexec.bat", "Config.sys", "System.ini",
                                            "Win.ini",      "Hosts",      "Protocol"};

TEST_F(Keyboard, FocusStartsInTheTextBox) {
    Start(kAllFiles);
    EXPECT_EQ(GetActiveWindow(), testsupport::WindowOf(main->Form()));
    EXPECT_EQ(Focused(), "txtDisplay");
}

TEST_F(Keyboard, TabWalksTheControlsByTabIndex) {
    Start(kAllFiles);
    const std::vector<std::string> expected = {
        "cmdOpen(1)", "cmdSave",    "cmdClose",   "win",    "cmdOpen(0)", "cmdOpen(2)",
        "cmdOpen(3)", "cmdOpen(4)", "cmdOpen(5)", "cmdVer", "txtDisplay"};
    EXPECT_EQ(Walk(11), expected);
}

TEST_F(Keyboard, ShiftTabWalksBack) {
    Start(kAllFiles);
    const std::vector<std::string> expected = {"cmdVer", "cmdOpen(5)", "cmdOpen(4)"};
    EXPECT_EQ(Walk(3, true), expected);
}

TEST_F(Keyboard, TabPassesOverGreyedButtons) {
    Start({"Win.ini", "Protocol"});  // Autoexec.bat, Config.sys, System.ini, Hosts missing
    const std::vector<std::string> expected = {"cmdSave",    "cmdClose", "win",       "cmdOpen(3)",
                                               "cmdOpen(5)", "cmdVer",   "txtDisplay"};
    EXPECT_EQ(Walk(7), expected);
}

TEST_F(Keyboard, EnterTypesANewLineAndCtrlTabATabInTheTextBox) {
    Start(kAllFiles);
    HWND edit = HandleOf(main->Form().Get("txtDisplay"));
    PressKey(VK_RETURN);
    PressKeyWith(VK_CONTROL, VK_TAB);
    EXPECT_EQ(testsupport::TextOf(edit), "\r\n\t");
    EXPECT_EQ(Focused(), "txtDisplay");
    PressKey(VK_ESCAPE);
    EXPECT_EQ(testsupport::TextOf(edit), "\r\n\t");
    EXPECT_TRUE(IsWindow(testsupport::WindowOf(main->Form())));
}

TEST_F(Keyboard, EnterPressesTheFocusedButtonOnly) {
    Start({"Autoexec.bat"});
    Walk(1);  // "Autoexec.bat"
    ASSERT_EQ(Focused(), "cmdOpen(1)");
    PressKey(VK_RETURN);
    EXPECT_EQ(main->Form().Get("lblFileName").Caption(),
              testsupport::WindowsDir() + "\\Autoexec.bat");
    EXPECT_EQ(main->Form().Get("txtDisplay").Text().bytes, "x\r\n");
}

TEST_F(Keyboard, AboutWindowIgnoresEscapeAndEnterPressesTheFocusedButton) {
    Start(kAllFiles);
    testsupport::WhenModal modal([&] {
        toolkit::Form& about = main->AboutWindow()->Form();
        HWND contact = HandleOf(about.Get("electronicmail"));
        // "Updates" has the focus: the contact box (tab index 0) is hidden.
        EXPECT_EQ(GetFocus(), HandleOf(about.Get("Command1")));
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(about.IsLoaded());
        PressKey(VK_RETURN);
        EXPECT_TRUE(IsWindowVisible(contact));
        EXPECT_EQ(testsupport::TextOf(contact), identity::kWebSite);
        EXPECT_EQ(GetFocus(), HandleOf(about.Get("Command1")));
        PressKeyWith(VK_SHIFT, VK_TAB);  // the contact box is visible now: it takes the focus
        EXPECT_EQ(GetFocus(), contact);
        PressKey(VK_RETURN);  // nothing to press
        EXPECT_TRUE(about.IsLoaded());
        PressKey(VK_TAB);
        PressKey(VK_TAB);  // "Email Address"
        EXPECT_EQ(GetFocus(), HandleOf(about.Get("emailladdy")));
        PressKey(VK_RETURN);
        EXPECT_EQ(testsupport::TextOf(contact), identity::kEmail);
        PressKey(VK_TAB);
        PressKey(VK_TAB);  // "Close"
        EXPECT_EQ(GetFocus(), HandleOf(about.Get("closeabout")));
        PressKey(VK_RETURN);
        EXPECT_FALSE(about.IsLoaded());
    });
    SendMessageA(HandleOf(main->Form().Get("cmdVer")), BM_CLICK, 0, 0);
    ASSERT_TRUE(modal.Ran());
    EXPECT_FALSE(main->AboutWindow()->Form().IsLoaded());
    // The main window has the keyboard again, on the button that opened the About window.
    EXPECT_EQ(GetActiveWindow(), testsupport::WindowOf(main->Form()));
    EXPECT_EQ(Focused(), "cmdVer");
}

}  // namespace
