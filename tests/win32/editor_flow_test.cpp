// The availability scan and the open, save and close commands, driven through the real
// windows (button clicks, the edit box's own text) over real files on the prefix's C: drive.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/frmCindermoor.h"
#include "tests/win32/support/drive_files.h"
#include "tests/win32/support/wine_gui.h"

namespace {

using testsupport::DriveRoot;
using testsupport::HandleOf;
using testsupport::WindowsDir;

std::string InWindows(const std::string& name) {
    return WindowsDir() + "\\" + name;
}
std::string AtRoot(const std::string& name) {
    return DriveRoot() + name;
}

class EditorFlow : public ::testing::Test {
  protected:
    void Start() {
        main = std::make_unique<editor::frmCindermoor>(testsupport::Gui());
        main->Show();
        testsupport::ProcessMessages();
    }
    void TearDown() override {
        main.reset();
        testsupport::ProcessMessages();
    }

    HWND Button(const char* name, int index = -1) {
        return HandleOf(main->Form().Get(name, index));
    }
    void Click(const char* name, int index = -1) {
        SendMessageA(Button(name, index), BM_CLICK, 0, 0);
        testsupport::ProcessMessages();
    }
    std::string Shown() { return testsupport::TextOf(HandleOf(main->Form().Get("txtDisplay"))); }
    std::string PathLabel() {
        return testsupport::TextOf(HandleOf(main->Form().Get("lblFileName")));
    }
    void Type(const std::string& text) {
        SetWindowTextA(HandleOf(main->Form().Get("txtDisplay")), text.c_str());
    }

    testsupport::ConfigFilesAside aside;
    std::unique_ptr<editor::frmCindermoor> main;
};

TEST_F(EditorFlow, ScanGreysTheButtonsOfMissingFiles) {
    testsupport::WriteBytes(InWindows("Win.ini"), "[windows]\r\n");
    testsupport::WriteBytes(AtRoot("Autoexec.bat"), "@ECHO OFF\r\n");  // only at the root
    testsupport::WriteBytes(InWindows("Protocol"), "ip 0 IP\r\n");     // "Protocols"
    testsupport::WriteBytes(AtRoot("CONFIG.SYS"), "FILES=40\r\n");     // other letter case
    Start();
    EXPECT_TRUE(IsWindowEnabled(Button("cmdOpen", 3)));   // Win.ini
    EXPECT_TRUE(IsWindowEnabled(Button("cmdOpen", 1)));   // Autoexec.bat
    EXPECT_TRUE(IsWindowEnabled(Button("cmdOpen", 5)));   // Protocols
    EXPECT_TRUE(IsWindowEnabled(Button("cmdOpen", 0)));   // Config.sys
    EXPECT_FALSE(IsWindowEnabled(Button("cmdOpen", 2)));  // System.ini
    EXPECT_FALSE(IsWindowEnabled(Button("cmdOpen", 4)));  // Hosts
    for (const char* name : {"cmdClose", "cmdSave", "cmdVer"}) {
        EXPECT_TRUE(IsWindowEnabled(Button(name))) << name;
    }
    EXPECT_EQ(PathLabel(), "None");
    EXPECT_EQ(Shown(), "");
}

TEST_F(EditorFlow, OpenLoadsTheWholeFileAndShowsItsPath) {
    const std::string bytes = "[boot]\r\nshell=Explorer.exe\r\n\r\n[386Enh]\nlone LF\rlone CR";
    testsupport::WriteBytes(InWindows("System.ini"), bytes);
    Start();
    Click("cmdOpen", 2);
    EXPECT_EQ(Shown(), bytes);
    EXPECT_EQ(PathLabel(), InWindows("System.ini"));
}

TEST_F(EditorFlow, TheWindowsDirectoryCopyWinsOverTheRootCopy) {
    testsupport::WriteBytes(InWindows("Hosts"), "127.0.0.1 windows-copy\r\n");
    testsupport::WriteBytes(AtRoot("Hosts"), "127.0.0.1 root-copy\r\n");
    Start();
    Click("cmdOpen", 4);
    EXPECT_EQ(Shown(), "127.0.0.1 windows-copy\r\n");
    EXPECT_EQ(PathLabel(), InWindows("Hosts"));
    // Gone from the Windows directory since start-up: the root copy is read.
    testsupport::Remove(InWindows("Hosts"));
    Click("cmdOpen", 4);
    EXPECT_EQ(Shown(), "127.0.0.1 root-copy\r\n");
    EXPECT_EQ(PathLabel(), AtRoot("Hosts"));
}

TEST_F(EditorFlow, ProtocolsOpensTheFileNamedProtocol) {
    testsupport::WriteBytes(InWindows("Protocol"), "tcp 6 TCP\r\n");
    Start();
    Click("cmdOpen", 5);
    EXPECT_EQ(PathLabel(), InWindows("Protocol"));
    EXPECT_EQ(Shown(), "tcp 6 TCP\r\n");
}

TEST_F(EditorFlow, SaveWritesTheTextWithoutItsOuterSpaces) {
    testsupport::WriteBytes(InWindows("Win.ini"), "[windows]\r\nload=\r\n");
    Start();
    Click("cmdOpen", 3);
    Type("  [windows]\r\nrun=notepad.exe\r\n  ");
    Click("cmdSave");
    EXPECT_EQ(testsupport::ReadBytes(InWindows("Win.ini")), "[windows]\r\nrun=notepad.exe\r\n");
    EXPECT_EQ(Shown(), "  [windows]\r\nrun=notepad.exe\r\n  ");  // the box keeps its spaces
    EXPECT_EQ(PathLabel(), InWindows("Win.ini"));
    Click("cmdOpen", 3);
    EXPECT_EQ(Shown(), "[windows]\r\nrun=notepad.exe\r\n");
}

TEST_F(EditorFlow, EveryByteButNulSurvivesOpenAndSave) {
    std::string bytes;
    for (int c = 1; c < 256; ++c) {
        if (c != ' ')
            bytes += static_cast<char>(c);
    }
    testsupport::WriteBytes(AtRoot("Config.sys"), bytes);
    Start();
    Click("cmdOpen", 0);
    ASSERT_EQ(Shown(), bytes);
    Click("cmdSave");
    EXPECT_EQ(testsupport::ReadBytes(AtRoot("Config.sys")), bytes);
}

TEST_F(EditorFlow, AFileWithANulByteIsNotSavedCutShort) {
    const std::string bytes("DEVICE=HIMEM.SYS\r\n\0\0binary tail\r\n", 33);
    testsupport::WriteBytes(AtRoot("Config.sys"), bytes);
    Start();
    Click("cmdOpen", 0);
    testsupport::MessageBoxRecorder boxes;
    Click("cmdSave");
    EXPECT_EQ(testsupport::ReadBytes(AtRoot("Config.sys")), bytes);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
    EXPECT_NE(boxes.Boxes()[0].prompt.find(AtRoot("Config.sys")), std::string::npos);
    EXPECT_NE(boxes.Boxes()[0].prompt.find("NUL character"), std::string::npos);
}

TEST_F(EditorFlow, CloseEmptiesTheBoxAndForgetsThePath) {
    testsupport::WriteBytes(InWindows("Win.ini"), "[windows]\r\n");
    Start();
    Click("cmdOpen", 3);
    Click("cmdClose");
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(PathLabel(), "None");
    // Saving now writes nothing and says nothing.
    Type("typed with no file open");
    testsupport::MessageBoxRecorder boxes;
    Click("cmdSave");
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(testsupport::ReadBytes(InWindows("Win.ini")), "[windows]\r\n");
    EXPECT_EQ(Shown(), "typed with no file open");
}

TEST_F(EditorFlow, AFileGoneSinceStartUpIsReportedByTheErrorBox) {
    testsupport::WriteBytes(InWindows("Hosts"), "127.0.0.1 localhost\r\n");
    Start();
    testsupport::Remove(InWindows("Hosts"));
    HWND window = testsupport::WindowOf(main->Form());
    bool ownerWasDisabled = false;
    testsupport::MessageBoxRecorder boxes(
        [&](const toolkit::ShownMessageBox&) { ownerWasDisabled = !IsWindowEnabled(window); });
    Click("cmdOpen", 4);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
    EXPECT_EQ(boxes.Boxes()[0].style, 16);  // OK only, critical-stop icon, application-modal
    EXPECT_EQ(boxes.Boxes()[0].prompt, "Cindermoor was unable to find specified file");
    EXPECT_TRUE(ownerWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(Shown(), "File " + AtRoot("Hosts") + " does not exist on system");
}

TEST_F(EditorFlow, AFailedSaveLeavesTheFileAsItWasAndSaysWhy) {
    testsupport::WriteBytes(InWindows("System.ini"), "[boot]\r\n");
    Start();
    Click("cmdOpen", 2);
    SetFileAttributesA(InWindows("System.ini").c_str(), FILE_ATTRIBUTE_READONLY);
    Type("[boot]\r\nchanged\r\n");
    testsupport::MessageBoxRecorder boxes;
    Click("cmdSave");
    SetFileAttributesA(InWindows("System.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(testsupport::ReadBytes(InWindows("System.ini")), "[boot]\r\n");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
    EXPECT_EQ(boxes.Boxes()[0].style, 16);
    EXPECT_NE(boxes.Boxes()[0].prompt.find(InWindows("System.ini")), std::string::npos);
    EXPECT_EQ(Shown(), "[boot]\r\nchanged\r\n");
    EXPECT_EQ(PathLabel(), InWindows("System.ini"));
}

}  // namespace
