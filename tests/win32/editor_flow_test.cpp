// The availability scan and the open, save and close commands, driven through the real
// windows (button clicks, the edit box's own text) over real files on the prefix's C: drive.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/frmCindermoor.h"
#include "fileops/replace_in_place_win32.h"
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
    // As the keyboard types them, through the program's message loop.
    void TypeKeys(const std::wstring& keys) {
        HWND box = HandleOf(main->Form().Get("txtDisplay"));
        SetFocus(box);
        for (wchar_t key : keys) PostMessageW(box, WM_CHAR, key, 1);
        testsupport::ProcessMessages();
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

TEST_F(EditorFlow, TypedCharactersTheCodePageLacksAreNamedNotChanged) {
    testsupport::WriteBytes(InWindows("Win.ini"), "[windows]\r\n");
    Start();
    Click("cmdOpen", 3);
    TypeKeys(L"\u00E9");
    Click("cmdSave");
    EXPECT_EQ(testsupport::ReadBytes(InWindows("Win.ini")), "\xE9[windows]\r\n");

    TypeKeys(L"\u03A9\u4E2D");
    wchar_t shown[32] = {};
    GetWindowTextW(HandleOf(main->Form().Get("txtDisplay")), shown, 32);
    EXPECT_EQ(std::wstring(shown), L"\u00E9\u03A9\u4E2D[windows]\r\n");  // kept as typed
    testsupport::MessageBoxRecorder boxes;
    Click("cmdSave");
    EXPECT_EQ(testsupport::ReadBytes(InWindows("Win.ini")), "\xE9[windows]\r\n");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].prompt.find("character U+03A9"), std::string::npos);
}

TEST_F(EditorFlow, SaveKeepsTheNameTheFileIsStoredBy) {
    const std::string winIni = InWindows("win.ini"), autoexec = AtRoot("AUTOEXEC.BAT");
    testsupport::WriteBytes(winIni, "[windows]\r\n");
    testsupport::WriteBytes(autoexec, "@ECHO OFF\r\n");
    Start();
    for (auto [index, path] : {std::pair{3, winIni}, std::pair{1, autoexec}}) {
        Click("cmdOpen", index);
        Type("REM saved\r\n");
        Click("cmdSave");
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(path.c_str(), &found);
        ASSERT_NE(search, INVALID_HANDLE_VALUE);
        FindClose(search);
        EXPECT_EQ(std::string(found.cFileName), path.substr(path.find_last_of('\\') + 1));
        EXPECT_EQ(testsupport::ReadBytes(path), "REM saved\r\n");
    }
}

// The system failing part-way through the replace, as it may on a real disk: the calls a
// replace makes are swapped for ones that do part of the work and then fail.
struct PartWayFailure {
    const char* what;
    DWORD replaceError;
    bool oldMovedAside;  // before failing, the replace had moved the old file to the backup
    DWORD putBackError;  // putting the old file back fails too (0: it works)
};
PartWayFailure failure;
std::string backupName;

BOOL WINAPI FailingReplace(LPCSTR replaced, LPCSTR, LPCSTR backup, DWORD, LPVOID, LPVOID) {
    backupName = backup;
    if (failure.oldMovedAside)
        MoveFileA(replaced, backup);
    SetLastError(failure.replaceError);
    return FALSE;
}

BOOL WINAPI FailingPutBack(LPCSTR from, LPCSTR to, DWORD flags) {
    if (failure.putBackError == 0)
        return MoveFileExA(from, to, flags);
    SetLastError(failure.putBackError);
    return FALSE;
}

std::vector<std::string> TemporaryFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\cm*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

TEST_F(EditorFlow, AReplaceFailingPartWayNeverLosesTheOldContentAndSaysWhereItIs) {
    const PartWayFailure cases[] = {
        {"names kept", ERROR_UNABLE_TO_MOVE_REPLACEMENT, false, 0},
        {"old not removed", ERROR_UNABLE_TO_REMOVE_REPLACED, false, 0},
        {"old moved aside", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true, 0},
        {"old moved aside despite the code", ERROR_UNABLE_TO_MOVE_REPLACEMENT, true, 0},
        {"old moved aside, no way back", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true,
         ERROR_ACCESS_DENIED},
    };
    const std::string path = InWindows("System.ini"), old = "[boot]\r\nshell=Explorer.exe\r\n";
    fileops::ReplaceCalls& calls = fileops::ReplaceCallsInUse();
    const fileops::ReplaceCalls real = calls;
    calls.replaceFile = FailingReplace;
    calls.moveFileEx = FailingPutBack;
    Start();
    for (const PartWayFailure& step : cases) {
        SCOPED_TRACE(step.what);
        failure = step;
        testsupport::WriteBytes(path, old);
        Click("cmdOpen", 2);
        Type("[boot]\r\nchanged\r\n");
        testsupport::MessageBoxRecorder boxes;
        Click("cmdSave");
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        const std::string& prompt = boxes.Boxes()[0].prompt;
        const bool leftAsItWas = prompt.find("left as it was before") != std::string::npos;
        if (step.putBackError == 0) {
            EXPECT_EQ(testsupport::ReadBytes(path), old);
            EXPECT_TRUE(leftAsItWas);
            EXPECT_TRUE(TemporaryFilesIn(WindowsDir()).empty());
        } else {
            EXPECT_FALSE(leftAsItWas);
            EXPECT_NE(prompt.find(backupName), std::string::npos) << prompt;
            EXPECT_EQ(testsupport::ReadBytes(backupName), old);
            const std::vector<std::string> kept = {backupName.substr(WindowsDir().size() + 1)};
            EXPECT_EQ(TemporaryFilesIn(WindowsDir()), kept);
            testsupport::Remove(backupName);
        }
    }
    calls = real;
}

}  // namespace
