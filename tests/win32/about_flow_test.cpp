// The About window opened by "v1.5": modal over the main window, driven from inside its
// message loop through its real buttons.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "base/identity/identity.h"
#include "editor/frmCindermoor.h"
#include "tests/win32/support/drive_files.h"
#include "tests/win32/support/wine_gui.h"

namespace {

using testsupport::HandleOf;
using testsupport::WindowOf;

class AboutFlow : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::WriteBytes(testsupport::WindowsDir() + "\\Win.ini", "[windows]\r\n");
        main = std::make_unique<editor::frmCindermoor>(testsupport::Gui());
        main->Show();
        testsupport::ProcessMessages();
    }
    void TearDown() override {
        main.reset();
        testsupport::ProcessMessages();
    }

    // Clicks "v1.5" and runs `inside` while the About window is up. Returns once the show
    // call of the click handler has returned; `inside` is expected to close the window.
    void ClickVersion(const std::function<void(toolkit::Form&)>& inside) {
        testsupport::WhenModal modal([&] {
            toolkit::Form& about = main->AboutWindow()->Form();
            inside(about);
            if (about.IsLoaded()) {
                ADD_FAILURE() << "the About window is still open";
                Press(about, "closeabout");
            }
        });
        SendMessageA(HandleOf(main->Form().Get("cmdVer")), BM_CLICK, 0, 0);
        EXPECT_TRUE(modal.Ran());
        testsupport::ProcessMessages();
    }
    static void Press(toolkit::Form& form, const char* name) {
        SendMessageA(HandleOf(form.Get(name)), BM_CLICK, 0, 0);
    }

    testsupport::ConfigFilesAside aside;
    std::unique_ptr<editor::frmCindermoor> main;
};

TEST_F(AboutFlow, OpensModalAndTheMainWindowWaits) {
    HWND mainWindow = WindowOf(main->Form());
    ClickVersion([&](toolkit::Form& about) {
        HWND window = WindowOf(about);
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_FALSE(IsWindowEnabled(mainWindow));
        EXPECT_EQ(GetActiveWindow(), window);
        EXPECT_FALSE(IsWindowVisible(HandleOf(about.Get("electronicmail"))));
        EXPECT_EQ(testsupport::TextOf(HandleOf(about.Get("electronicmail"))), identity::kEmail);
        EXPECT_EQ(GetFocus(), HandleOf(about.Get("Command1")));
        Press(about, "closeabout");
        EXPECT_FALSE(about.IsLoaded());
        EXPECT_FALSE(IsWindow(window));
    });
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    EXPECT_EQ(GetActiveWindow(), mainWindow);
}

TEST_F(AboutFlow, ContactButtonsSwitchTheBoxBetweenTheTwoValues) {
    ClickVersion([&](toolkit::Form& about) {
        HWND contact = HandleOf(about.Get("electronicmail"));
        Press(about, "Command1");
        EXPECT_TRUE(IsWindowVisible(contact));
        EXPECT_EQ(testsupport::TextOf(contact), identity::kWebSite);
        Press(about, "emailladdy");
        EXPECT_EQ(testsupport::TextOf(contact), identity::kEmail);
        Press(about, "Command1");
        EXPECT_EQ(testsupport::TextOf(contact), identity::kWebSite);
        // Typing into a read-only box changes nothing.
        SendMessageA(contact, WM_CHAR, 'x', 1);
        SendMessageA(HandleOf(about.Get("Text1")), WM_CHAR, 'x', 1);
        EXPECT_EQ(testsupport::TextOf(contact), identity::kWebSite);
        Press(about, "closeabout");
    });
    // The next opening starts from the layout again.
    ClickVersion([&](toolkit::Form& about) {
        EXPECT_FALSE(IsWindowVisible(HandleOf(about.Get("electronicmail"))));
        EXPECT_EQ(testsupport::TextOf(HandleOf(about.Get("electronicmail"))), identity::kEmail);
        Press(about, "closeabout");
    });
}

TEST_F(AboutFlow, TheCloseBoxUnloadsLikeClose) {
    ClickVersion([&](toolkit::Form& about) {
        Press(about, "Command1");
        SendMessageA(WindowOf(about), WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_FALSE(about.IsLoaded());
    });
    ClickVersion([&](toolkit::Form& about) {
        EXPECT_FALSE(IsWindowVisible(HandleOf(about.Get("electronicmail"))));
        Press(about, "closeabout");
    });
}

TEST_F(AboutFlow, TheMainWindowKeepsItsFileAndText) {
    SendMessageA(HandleOf(main->Form().Get("cmdOpen", 3)), BM_CLICK, 0, 0);
    HWND edit = HandleOf(main->Form().Get("txtDisplay"));
    SetWindowTextA(edit, "[windows]\r\nedited, not saved\r\n");
    const std::string path = main->Form().Get("lblFileName").Caption();
    ClickVersion([&](toolkit::Form& about) { Press(about, "closeabout"); });
    EXPECT_EQ(testsupport::TextOf(edit), "[windows]\r\nedited, not saved\r\n");
    EXPECT_EQ(main->Form().Get("lblFileName").Caption(), path);
    EXPECT_EQ(path, testsupport::WindowsDir() + "\\Win.ini");
}

}  // namespace
