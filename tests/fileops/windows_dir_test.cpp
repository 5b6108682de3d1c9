// GetWindowsDir and the emulated GetWindowsDirectoryA.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fileops/detail.h"
#include "fileops/file_services.h"
#include "fileops/win32_emulation.h"
#include "support.h"

namespace {

using fotest::MakeDir;
using fotest::WriteFile;

class WindowsDirTest : public ::testing::Test {
  protected:
    fotest::TempDir dir_{"windir"};
};

TEST_F(WindowsDirTest, NormalPrefix) {
    auto prefix = fotest::MakePrefix(dir_.path());
    MakeDir(prefix.driveC + "/WINDOWS");
    fotest::ScopedEnv env("WINEPREFIX", prefix.dir);
    EXPECT_EQ(fileops::GetWindowsDir(), "C:\\WINDOWS");
}

TEST_F(WindowsDirTest, ResultHasExactLengthAndNoNul) {
    auto prefix = fotest::MakePrefix(dir_.path());
    MakeDir(prefix.driveC + "/WINDOWS");
    fotest::ScopedEnv env("WINEPREFIX", prefix.dir);
    const std::string dir = fileops::GetWindowsDir();
    EXPECT_EQ(dir.size(), 10u);
    EXPECT_EQ(dir.find('\0'), std::string::npos);
    EXPECT_EQ(std::strlen(dir.c_str()), dir.size());
}

TEST_F(WindowsDirTest, UnsetWineprefixUsesDotWineInHome) {
    const std::string home = dir_ / "home";
    MakeDir(home);
    auto prefix = fotest::MakePrefix(home, ".wine");
    MakeDir(prefix.driveC + "/windows");
    fotest::ScopedEnv unset("WINEPREFIX", std::nullopt);
    fotest::ScopedEnv env("HOME", home);
    EXPECT_EQ(fileops::GetWindowsDir(), "C:\\windows");
}

TEST_F(WindowsDirTest, WineprefixPointingNowhere) {
    fotest::ScopedEnv env("WINEPREFIX", dir_ / "no-such-prefix");
    EXPECT_EQ(fileops::GetWindowsDir(), "");
}

TEST_F(WindowsDirTest, RelativeWineprefixIsNoPrefix) {
    auto prefix = fotest::MakePrefix(dir_.path());
    MakeDir(prefix.driveC + "/WINDOWS");
    fotest::ScopedCwd cwd(dir_.path());
    fotest::ScopedEnv env("WINEPREFIX", "prefix");
    EXPECT_EQ(fileops::GetWindowsDir(), "");
}

TEST_F(WindowsDirTest, PrefixWithoutDriveC) {
    MakeDir(dir_ / "prefix");
    MakeDir(dir_ / "prefix/dosdevices");
    MakeDir(dir_ / "prefix/drive_c");
    MakeDir(dir_ / "prefix/drive_c/WINDOWS");
    fotest::ScopedEnv env("WINEPREFIX", dir_ / "prefix");
    EXPECT_EQ(fileops::GetWindowsDir(), "");
}

TEST_F(WindowsDirTest, UpperCaseDriveLinkIsNotDriveC) {
    // Wine names the links in lower case.
    MakeDir(dir_ / "prefix");
    MakeDir(dir_ / "prefix/dosdevices");
    MakeDir(dir_ / "prefix/drive_c");
    MakeDir(dir_ / "prefix/drive_c/WINDOWS");
    fotest::Symlink("../drive_c", dir_ / "prefix/dosdevices/C:");
    fotest::ScopedEnv env("WINEPREFIX", dir_ / "prefix");
    EXPECT_EQ(fileops::GetWindowsDir(), "");
}

TEST_F(WindowsDirTest, DanglingDriveC) {
    auto prefix = fotest::MakePrefix(dir_.path());
    fotest::RemoveTree(prefix.driveC);
    fotest::ScopedEnv env("WINEPREFIX", prefix.dir);
    EXPECT_EQ(fileops::GetWindowsDir(), "");
}

TEST_F(WindowsDirTest, DriveCPointingAtAFile) {
    auto prefix = fotest::MakePrefix(dir_.path());
    fotest::RemoveTree(prefix.driveC);
    WriteFile(prefix.driveC, "not a folder");
    fotest::ScopedEnv env("WINEPREFIX", prefix.dir);
    EXPECT_EQ(fileops::GetWindowsDir(), "");
}

TEST_F(WindowsDirTest, DriveCAsAnAbsoluteLink) {
    MakeDir(dir_ / "prefix");
    MakeDir(dir_ / "prefix/dosdevices");
    MakeDir(dir_ / "disk");
    MakeDir(dir_ / "disk/Windows");
    fotest::Symlink(dir_ / "disk", dir_ / "prefix/dosdevices/c:");
    fotest::ScopedEnv env("WINEPREFIX", dir_ / "prefix");
    EXPECT_EQ(fileops::GetWindowsDir(), "C:\\Windows");
}

TEST_F(WindowsDirTest, DriveCWithoutWindowsFolder) {
    auto prefix = fotest::MakePrefix(dir_.path());
    MakeDir(prefix.driveC + "/Program Files");
    MakeDir(prefix.driveC + "/windows.old");
    fotest::ScopedEnv env("WINEPREFIX", prefix.dir);
    EXPECT_EQ(fileops::GetWindowsDir(), "");
}

TEST_F(WindowsDirTest, WindowsIsAFile) {
    auto prefix = fotest::MakePrefix(dir_.path());
    WriteFile(prefix.driveC + "/windows", "a file");
    fotest::ScopedEnv env("WINEPREFIX", prefix.dir);
    EXPECT_EQ(fileops::GetWindowsDir(), "");
}

TEST_F(WindowsDirTest, WindowsFileAndWindowsFolderInOtherCase) {
    auto prefix = fotest::MakePrefix(dir_.path());
    WriteFile(prefix.driveC + "/windows", "a file");
    MakeDir(prefix.driveC + "/WINDOWS");
    fotest::ScopedEnv env("WINEPREFIX", prefix.dir);
    EXPECT_EQ(fileops::GetWindowsDir(), "C:\\WINDOWS");
}

TEST_F(WindowsDirTest, LetterCaseOfTheStoredName) {
    auto prefix = fotest::MakePrefix(dir_.path());
    fotest::ScopedEnv env("WINEPREFIX", prefix.dir);
    MakeDir(prefix.driveC + "/Windows");
    EXPECT_EQ(fileops::GetWindowsDir(), "C:\\Windows");
    ::rmdir((prefix.driveC + "/Windows").c_str());
    MakeDir(prefix.driveC + "/WINDOWS");
    EXPECT_EQ(fileops::GetWindowsDir(), "C:\\WINDOWS");
    // Both: the first by bytes ("WINDOWS" < "Windows"), every time.
    MakeDir(prefix.driveC + "/Windows");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(fileops::GetWindowsDir(), "C:\\WINDOWS");
    // The exact name "windows" comes first.
    MakeDir(prefix.driveC + "/windows");
    EXPECT_EQ(fileops::GetWindowsDir(), "C:\\windows");
}

TEST_F(WindowsDirTest, EachCallAsksAfresh) {
    auto first = fotest::MakePrefix(dir_.path(), "first");
    MakeDir(first.driveC + "/WINDOWS");
    auto second = fotest::MakePrefix(dir_.path(), "second");
    MakeDir(second.driveC + "/Windows");
    fotest::ScopedEnv env("WINEPREFIX", first.dir);
    EXPECT_EQ(fileops::GetWindowsDir(), "C:\\WINDOWS");
    EXPECT_EQ(fileops::GetWindowsDir(), "C:\\WINDOWS");
    ::setenv("WINEPREFIX", second.dir.c_str(), 1);
    EXPECT_EQ(fileops::GetWindowsDir(), "C:\\Windows");
    // Same prefix, folder renamed between two calls.
    ASSERT_EQ(::rename((second.driveC + "/Windows").c_str(), (second.driveC + "/WinDows").c_str()),
              0);
    EXPECT_EQ(fileops::GetWindowsDir(), "C:\\WinDows");
    fotest::RemoveTree(second.driveC + "/WinDows");
    EXPECT_EQ(fileops::GetWindowsDir(), "");
}

TEST_F(WindowsDirTest, UnreadableDriveRootAsAnotherUser) {
    auto body = [](const std::string& dir) {
        fotest::ScopedEnv env("WINEPREFIX", dir + "/closed");
        EXPECT_EQ(fileops::GetWindowsDir(), "") << "root of C: cannot be entered";
        ::setenv("WINEPREFIX", (dir + "/searchonly").c_str(), 1);
        EXPECT_EQ(fileops::GetWindowsDir(), "") << "root of C: cannot be listed to find WINDOWS";
        ::setenv("WINEPREFIX", (dir + "/exact").c_str(), 1);
        EXPECT_EQ(fileops::GetWindowsDir(), "C:\\windows") << "the exact name needs no listing";
    };
    if (fotest::OtherUser::IsChild())
        return fotest::OtherUser::RunBody(body);

    auto closed = fotest::MakePrefix(dir_.path(), "closed");
    MakeDir(closed.driveC + "/WINDOWS");
    fotest::Chmod(closed.driveC, 0000);
    auto searchOnly = fotest::MakePrefix(dir_.path(), "searchonly");
    MakeDir(searchOnly.driveC + "/WINDOWS");
    fotest::Chmod(searchOnly.driveC, 0111);
    auto exact = fotest::MakePrefix(dir_.path(), "exact");
    MakeDir(exact.driveC + "/windows");
    fotest::Chmod(exact.driveC, 0111);
    fotest::OtherUser::Run(dir_.path(), body);
}

// ---- The algorithm of GetWindowsDir against stand-in calls ----------------------------

std::vector<std::string> g_seen;  // what each stand-in call found in the buffer
unsigned int g_size = 0;

unsigned int CM_WINAPI WritesWithGarbageAfterNul(char* buffer, unsigned int size) {
    g_seen.emplace_back(buffer, 260);
    g_size = size;
    std::memset(buffer, 'x', size);  // a careless system call leaves garbage after the NUL
    std::memcpy(buffer, "C:\\WIN\0", 7);
    return 123;  // not the length: GetWindowsDir must not use it as one
}

unsigned int CM_WINAPI FailsAfterWriting(char* buffer, unsigned int) {
    std::memcpy(buffer, "C:\\WINDOWS", 11);
    return 0;
}

unsigned int CM_WINAPI SucceedsWithoutWriting(char*, unsigned int) {
    return 10;
}

unsigned int CM_WINAPI FillsWholeBuffer(char* buffer, unsigned int size) {
    std::memset(buffer, 'W', size);
    return size;
}

TEST(GetWindowsDirAlgorithm, FreshBufferOf260NulsAndCharactersBeforeTheFirstNul) {
    g_seen.clear();
    EXPECT_EQ(fileops::detail::GetWindowsDirFrom(&WritesWithGarbageAfterNul), "C:\\WIN");
    EXPECT_EQ(g_size, 260u);
    EXPECT_EQ(fileops::detail::GetWindowsDirFrom(&WritesWithGarbageAfterNul), "C:\\WIN");
    ASSERT_EQ(g_seen.size(), 2u);
    for (const auto& seen : g_seen)
        EXPECT_EQ(seen, std::string(260, '\0')) << "the buffer is made anew each call";
}

TEST(GetWindowsDirAlgorithm, ZeroCountIsFailureWhateverTheBufferHolds) {
    EXPECT_EQ(fileops::detail::GetWindowsDirFrom(&FailsAfterWriting), "");
}

TEST(GetWindowsDirAlgorithm, NonZeroCountWithEmptyBufferGivesEmptyText) {
    EXPECT_EQ(fileops::detail::GetWindowsDirFrom(&SucceedsWithoutWriting), "");
}

TEST(GetWindowsDirAlgorithm, NoNulAtAllGivesAll260Characters) {
    EXPECT_EQ(fileops::detail::GetWindowsDirFrom(&FillsWholeBuffer), std::string(260, 'W'));
}

// ---- The emulated call's own contract ---------------------------------------------------

TEST_F(WindowsDirTest, EmulatedCallReportsTheNeededSizeWhenTheBufferIsTooSmall) {
    auto prefix = fotest::MakePrefix(dir_.path());
    MakeDir(prefix.driveC + "/WINDOWS");
    fotest::ScopedEnv env("WINEPREFIX", prefix.dir);
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 10), 11u);  // "C:\WINDOWS" + NUL
    EXPECT_EQ(buffer[0], '#') << "nothing written when the buffer is too small";
    EXPECT_EQ(GetWindowsDirectoryA(nullptr, 0), 11u);
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 11), 10u);
    EXPECT_STREQ(buffer, "C:\\WINDOWS");
    EXPECT_EQ(buffer[11], '#');
}

TEST_F(WindowsDirTest, WindowsFolderNameInTheAnsiCodePage) {
    // A folder that matches "windows" only by Unicode case rules but cannot be written in
    // Windows-1252 (dotless i) is passed over.
    auto prefix = fotest::MakePrefix(dir_.path());
    MakeDir(prefix.driveC + "/W\u0131ndows");
    fotest::ScopedEnv env("WINEPREFIX", prefix.dir);
    EXPECT_EQ(fileops::GetWindowsDir(), "");
}

}  // namespace
