// The Wine-style drive emulation: existence, the translation to native paths and the
// Windows directory, on real prefixes in temporary folders.
#include <sys/stat.h>

#include <functional>
#include <optional>

#include <gtest/gtest.h>

#include "fileops/file_services.h"
#include "scratch_drive.h"
#include "support.h"

namespace {

// What Wine does on the Unix side: links, kinds of files, paths through a drive's folder.
TEST_F(ScratchDrive, NativeSideOfExistence) {
    ASSERT_EQ(::mkfifo(At("WINDOWS/Pipe").c_str(), 0644), 0);
    fs::create_symlink("/dev/null", At("WINDOWS/Null"));
    fs::create_symlink("Win.ini", At("WINDOWS/HOSTS"));
    fs::create_symlink("missing", At("WINDOWS/Dangling"));
    fs::create_directory_symlink("WINDOWS/System", At("Linked"));
    fs::create_directory(At("Twins"));
    Write("Twins/data.txt", "lower"), Write("Twins/DATA.TXT", "UPPER");
    const std::string driveC = drive_.DriveC(), win = "content of WINDOWS/Win.ini";
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"C:\\WINDOWS\\Pipe", std::nullopt},  // neither read nor waited on
        {"C:\\WINDOWS\\Null", std::nullopt},
        {"C:\\WINDOWS\\Hosts", win},
        {"C:\\linked\\VMM32.VXD", "content of WINDOWS/System/Vmm32.vxd"},
        {"C:\\WINDOWS\\Dangling", std::nullopt},
        {"C:\\Twins\\data.txt", "lower"},  // the entry of the exact name first
        {"C:\\twins\\Data.Txt", "UPPER"},
        {"/WINDOWS/Win.ini", win},  // no drive is /: the root of the current drive
        {driveC + "/windows/WIN.INI", win},
        {driveC + "/Work/../WINDOWS/../Autoexec.bat", "content of Autoexec.bat"},
        {driveC + "/Missing/../WINDOWS/Win.ini", std::nullopt},
        {drive_.Prefix().parent_path(), std::nullopt},  // outside every drive: taken on C:
    };
    for (const auto& [path, bytes] : cases) {
        const fileops::ReadResult read = fileops::ReadWholeFile(path);
        EXPECT_EQ(fileops::FileExists(path), bytes.has_value()) << path;
        EXPECT_EQ(read.ok, bytes.has_value()) << path;
        EXPECT_EQ(read.bytes, bytes.value_or("")) << path;
    }
    fs::current_path(drive_.Prefix());  // on no drive: the Windows folder
    EXPECT_TRUE(fileops::FileExists("System\\Vmm32.vxd"));
    EXPECT_FALSE(fileops::FileExists("Local.txt"));
}

// GetWindowsDir on every kind of prefix and drive: each case changes a fresh prefix. A drive
// whose root cannot be listed is tried as another user, whom the permission bits bind.
TEST(WindowsDir, OnEveryKindOfDrive) {
    testsupport::TempDrive drive("");
    const fs::path root = drive.Prefix().parent_path(), c = drive.DriveC();
    fs::permissions(root, fs::perms::all);
    constexpr fs::perms kExecOnly = fs::perms::owner_exec | fs::perms::others_exec;
    auto relink = [&](const fs::path& name, const fs::path& target) {
        fs::remove(drive.Prefix() / "dosdevices/c:");
        fs::create_directory_symlink(target, drive.Prefix() / "dosdevices" / name);
    };
    const struct {
        const char* expected;
        std::function<void()> setup;
        fs::perms driveMode = fs::perms::all;
    } cases[] = {
        {"C:\\WINDOWS", [&] { fs::create_directory(c / "WINDOWS"); }},
        {"", [&] { fs::create_directory(c / "WINDOWS"); }, kExecOnly},
        {"C:\\windows", [&] { fs::create_directory(c / "windows"); }, kExecOnly},
        {"C:\\WINDOWS",
         [&] { fs::create_directory(c / "Windows"), fs::create_directory(c / "WINDOWS"); }},
        {"C:\\windows",
         [&] { fs::create_directory(c / "WINDOWS"), fs::create_directory(c / "windows"); }},
        {"C:\\WINDOWS",
         [&] { testsupport::WriteBytes(c / "windows", ""), fs::create_directory(c / "WINDOWS"); }},
        {"", [&] { testsupport::WriteBytes(c / "windows", "a file"); }},
        {"", [&] { fs::create_directory(c / "W\u0131ndows"); }},  // dotless i: no ANSI name
        {"C:\\Windows",
         [&] { fs::create_directories(root / "disk/Windows"), relink("c:", root / "disk"); }},
        {"", [&] { fs::create_directory(c / "WINDOWS"), relink("C:", "../../drive_c"); }},
        {"", [&] { ::setenv("WINEPREFIX", (root / "absent").c_str(), 1); }},
        {"", [&] { fs::create_directory(c / "WINDOWS"), ::setenv("WINEPREFIX", "prefix", 1); }},
        {"C:\\windows",
         [&] {
             fs::create_directory(c / "windows");
             fs::create_directory(root / "home");
             fs::create_directory_symlink(drive.Prefix(), root / "home/.wine");
             ::unsetenv("WINEPREFIX");
         }},
    };
    for (const auto& k : cases) {
        fs::remove_all(root / "home"), fs::remove_all(root / "disk"), fs::remove_all(c);
        fs::create_directory(c);
        relink("c:", "../../drive_c");
        fs::remove(drive.Prefix() / "dosdevices/C:");
        ::setenv("WINEPREFIX", drive.Prefix().c_str(), 1);
        k.setup();
        fs::permissions(c, k.driveMode);
        const int setup = k.driveMode == fs::perms::all ? fotest::kPlain : fotest::kOtherUser;
        const auto found = fotest::InChild(setup, [&](std::string& report) {
            ::setenv("HOME", (root / "home").c_str(), 1);
            fs::current_path(root);
            report = fileops::GetWindowsDir();
            return 0;
        });
        fs::permissions(c, fs::perms::all);
        if (found.code == fotest::kCannotRun)
            continue;  // no other user here
        EXPECT_EQ(found.text, k.expected) << &k - cases;
    }
}

}  // namespace
