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

// The text box of Windows 98 and Me holds 65,535 bytes: a longer file would show cut and
// then save cut.
TEST_F(EditorFlow, AFileLargerThanTheTextBoxCanHoldIsRefusedNotShownCut) {
    const std::string path = InWindows("Win.ini");
    testsupport::WriteBytes(path, "[windows]\r\n");
    Start();
    for (const std::size_t size : {65535u, 65536u}) {
        SCOPED_TRACE(size);
        std::string bytes = "[windows]\r\n";
        while (bytes.size() < size) bytes += "load=\r\n";
        bytes.resize(size, 'x');
        testsupport::WriteBytes(path, bytes);
        testsupport::MessageBoxRecorder boxes;
        Click("cmdOpen", 3);
        if (!testsupport::OnWindows9x() || size <= 65535) {
            EXPECT_TRUE(boxes.Boxes().empty());
            EXPECT_EQ(Shown(), bytes);
            EXPECT_EQ(PathLabel(), path);
            continue;
        }
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
        const std::string& prompt = boxes.Boxes()[0].prompt;
        for (const std::string& part : {path, std::string("65536 bytes"), std::string("65535")})
            EXPECT_NE(prompt.find(part), std::string::npos) << prompt;
        EXPECT_EQ(Shown(), "");
        EXPECT_EQ(PathLabel(), "None");
    }
}

// Without ReplaceFileA (Windows 98 and Me) the old file is renamed aside, the new one into
// its place, and the old one deleted: each rename failing in turn, and the backup that
// cannot be deleted at the end.
struct RenameFailure {
    const char* what;
    int failingMove;    // 1: the old file aside, 2: the new one in, 3: the old one back
    bool putBackFails;  // the move after the failing one fails too
    bool backupStays;   // deleting the backup fails
};
RenameFailure renameFailure;
int movesMade = 0;
std::string renamedAside;

BOOL WINAPI FailingMove(LPCSTR from, LPCSTR to) {
    if (++movesMade == 1)
        renamedAside = to;
    if (movesMade == renameFailure.failingMove ||
        (renameFailure.putBackFails && movesMade == renameFailure.failingMove + 1)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return MoveFileA(from, to);
}

BOOL WINAPI DeleteAllButTheBackup(LPCSTR path) {
    if (renameFailure.backupStays && path == renamedAside) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    return DeleteFileA(path);
}

TEST_F(EditorFlow, AReplaceByRenamesFailingAtAnyStepLosesNothing) {
    const RenameFailure cases[] = {
        {"moving the old file aside", 1, false, false},
        {"moving the new file in", 2, false, false},
        {"moving the new file in, then the old one back", 2, true, false},
        {"deleting the old file at the end", 0, false, true},
    };
    const std::string path = InWindows("System.ini"), old = "[boot]\r\nshell=Explorer.exe\r\n";
    constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    fileops::ReplaceCalls& calls = fileops::ReplaceCallsInUse();
    const fileops::ReplaceCalls real = calls;
    calls.replaceFile = nullptr;
    calls.moveFile = FailingMove;
    calls.deleteFile = DeleteAllButTheBackup;
    testsupport::WriteBytes(path, old);
    Start();
    for (const RenameFailure& step : cases) {
        SCOPED_TRACE(step.what);
        renameFailure = step;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        testsupport::WriteBytes(path, old);
        SetFileAttributesA(path.c_str(), kHiddenSystem);
        Click("cmdOpen", 2);
        Type("[boot]\r\nchanged\r\n");
        testsupport::MessageBoxRecorder boxes;
        movesMade = 0;
        Click("cmdSave");
        std::vector<std::string> left = TemporaryFilesIn(WindowsDir());
        if (step.backupStays) {
            EXPECT_TRUE(boxes.Boxes().empty());
            EXPECT_EQ(testsupport::ReadBytes(path), "[boot]\r\nchanged\r\n");
        } else if (!step.putBackFails) {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_NE(boxes.Boxes()[0].prompt.find("left as it was before"), std::string::npos);
            EXPECT_EQ(testsupport::ReadBytes(path), old);
            EXPECT_TRUE(left.empty());
        } else {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_NE(boxes.Boxes()[0].prompt.find(renamedAside), std::string::npos);
            EXPECT_FALSE(testsupport::Exists(path));
        }
        if (step.backupStays || step.putBackFails) {
            // The old content, whole, under the one name the save leaves besides.
            EXPECT_EQ(testsupport::ReadBytes(renamedAside), old);
            EXPECT_EQ(left, std::vector<std::string>{renamedAside.substr(WindowsDir().size() + 1)});
            SetFileAttributesA(renamedAside.c_str(), FILE_ATTRIBUTE_NORMAL);
            testsupport::Remove(renamedAside);
        }
        if (testsupport::Exists(path)) {
            EXPECT_EQ(GetFileAttributesA(path.c_str()) & kHiddenSystem, kHiddenSystem);
        }
    }
    calls = real;
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
