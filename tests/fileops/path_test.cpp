// The Wine-style drive emulation: existence, the translation to native paths and the
// Windows directory, on real prefixes in temporary folders.
#include <sys/stat.h>

#include <functional>
#include <optional>

#include <gtest/gtest.h>

#include "fileops/file_services.h"
#include "scratch_drive.h"
#include "support.h"
#include "tests/support/temp_drive.h"

namespace {

// What Wine does on the Unix side: links, kinds of files, paths through a drive's folder.
TEST_F(ScratchDrive, NativeSideOfExistence) {
    ASSERT_EQ(::mkfifo(At("WINDOWS/Pipe").c_str(), 0644), 0);
    fs::create_symlink("/dev/null", At("WINDOWS/Null"));
    fs::create_symlink("Win.ini", At("WINDOWS/HOSTS"));
    fs::create_symlink("missing", At("WINDOWS/Dangling"));
    fs::create_directory_symlink("WINDOWS/System", At("Linked"));
    const std::string driveC = drive_.DriveC();
    const std::pair<std::string, bool> cases[] = {
        {"C:\\WINDOWS\\Pipe", false},
        {"C:\\WINDOWS\\Null", false},
        {"C:\\WINDOWS\\Hosts", true},
        {"C:\\linked\\VMM32.VXD", true},
        {"C:\\WINDOWS\\Dangling", false},
        {"/WINDOWS/Win.ini", true},  // no drive is /: the root of the current drive
        {driveC + "/windows/WIN.INI", true},
        {driveC + "/Work/../WINDOWS/../Autoexec.bat", true},
        {driveC + "/Missing/../WINDOWS", false},
        {drive_.Prefix().parent_path(), false},  // outside every drive: taken on C:
    };
    for (const auto& [path, exists] : cases) EXPECT_EQ(fileops::FileExists(path), exists) << path;
    // Read: the entry of the exact name first; pipes and devices neither read nor waited on.
    fs::create_directory(At("Twins"));
    Write("Twins/data.txt", "lower"), Write("Twins/DATA.TXT", "UPPER");
    const std::pair<const char*, std::optional<std::string>> reads[] = {
        {"C:\\Twins\\data.txt", "lower"},
        {"C:\\twins\\Data.Txt", "UPPER"},
        {"C:\\WINDOWS\\Hosts", "content of WINDOWS/Win.ini"},
        {"C:\\WINDOWS\\Pipe", std::nullopt},
        {"C:\\WINDOWS\\Null", std::nullopt},
    };
    for (const auto& [path, bytes] : reads) {
        const fileops::ReadResult read = fileops::ReadWholeFile(path);
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
    const fs::path link = drive.Prefix() / "dosdevices/c:";
    auto relink = [&](const fs::path& name, const fs::path& target) {
        fs::remove(link);
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
    const char* oldHome = std::getenv("HOME");
    const std::string home = oldHome ? oldHome : "/";
    const fs::path cwd = fs::current_path();
    ::setenv("HOME", (root / "home").c_str(), 1);
    fs::current_path(root);
    for (const auto& k : cases) {
        fs::remove_all(root / "home"), fs::remove_all(root / "disk"), fs::remove_all(c);
        fs::create_directory(c);
        relink("c:", "../../drive_c");
        fs::remove(drive.Prefix() / "dosdevices/C:");
        ::setenv("WINEPREFIX", drive.Prefix().c_str(), 1);
        k.setup();
        fs::permissions(c, k.driveMode);
        const int setup = k.driveMode == fs::perms::all ? fotest::kPlain : fotest::kOtherUser;
        const auto found = fotest::InChild(setup, [](std::string& report) {
            report = fileops::GetWindowsDir();
            return 0;
        });
        fs::permissions(c, fs::perms::all);
        if (found.code == fotest::kCannotRun)
            continue;  // no other user here
        EXPECT_EQ(found.text, k.expected) << &k - cases;
    }
    ::setenv("HOME", home.c_str(), 1);
    fs::current_path(cwd);
}

}  // namespace
