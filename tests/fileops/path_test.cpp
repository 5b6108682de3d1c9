// FileExists and the path translation of the Wine-style drive emulation.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "fileops/detail.h"
#include "fileops/file_services.h"
#include "fileops/win32_emulation.h"
#include "fileops/wine_drive.h"
#include "path_cases.h"
#include "support.h"

namespace {

using fileops::Purpose;
using fotest::MakeDir;
using fotest::WriteFile;
using Outcome = fileops::Resolution::Outcome;

// A prefix holding the layout of path_cases.h, WINEPREFIX pointing at it and C:\Work as
// the current directory.
class LayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        prefix_ = fotest::MakePrefix(dir_.path());
        for (const auto& entry : path_cases::Layout()) {
            const std::string native = prefix_.driveC + "/" + entry.path;
            if (entry.folder)
                MakeDir(native);
            else
                WriteFile(native, "content of " + entry.path);
        }
        env_.emplace("WINEPREFIX", prefix_.dir);
        cwd_.emplace(prefix_.driveC + "/Work");
    }
    void TearDown() override {
        cwd_.reset();
        env_.reset();
    }

    std::string C(const std::string& rel) const { return prefix_.driveC + "/" + rel; }

    fotest::TempDir dir_{"paths"};
    fotest::Prefix prefix_;
    std::optional<fotest::ScopedEnv> env_;
    std::optional<fotest::ScopedCwd> cwd_;
};

TEST_F(LayoutTest, EveryPathCaseAgrees) {
    const auto cases = path_cases::Cases();
    ASSERT_GT(cases.size(), 50u);
    for (const auto& c : cases) {
        EXPECT_EQ(fileops::FileExists(c.path), c.exists) << "path \"" << c.path << "\": " << c.why;
        EXPECT_EQ(PathFileExistsA(c.path.c_str()), c.exists ? 1 : 0)
            << "path \"" << c.path << "\": " << c.why;
    }
}

TEST_F(LayoutTest, ExactAndOtherCaseResolveToTheStoredNames) {
    auto r = fileops::Resolve("C:\\WINDOWS\\Win.ini", Purpose::Existing);
    ASSERT_EQ(r.outcome, Outcome::Found);
    EXPECT_EQ(r.native, prefix_.dir + "/dosdevices/c:/WINDOWS/Win.ini");
    r = fileops::Resolve("c:\\windows\\SYSTEM.ini", Purpose::Existing);
    ASSERT_EQ(r.outcome, Outcome::Found);
    EXPECT_EQ(r.native, prefix_.dir + "/dosdevices/c:/WINDOWS/SYSTEM.INI");
}

TEST_F(LayoutTest, SeveralCaseInsensitiveCandidatesGiveADeterministicChoice) {
    // "DATA.TXT" sorts before "data.txt" by bytes; the exact name wins when it exists.
    auto r = fileops::Resolve("C:\\Twins\\Data.txt", Purpose::Existing);
    ASSERT_EQ(r.outcome, Outcome::Found);
    EXPECT_EQ(r.native, prefix_.dir + "/dosdevices/c:/Twins/DATA.TXT");
    r = fileops::Resolve("C:\\Twins\\data.txt", Purpose::Existing);
    EXPECT_EQ(r.native, prefix_.dir + "/dosdevices/c:/Twins/data.txt");
    r = fileops::Resolve("C:\\Twins\\DATA.TXT", Purpose::Existing);
    EXPECT_EQ(r.native, prefix_.dir + "/dosdevices/c:/Twins/DATA.TXT");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(fileops::Resolve("C:\\twins\\Data.Txt", Purpose::Existing).native,
                  prefix_.dir + "/dosdevices/c:/Twins/DATA.TXT");
}

TEST_F(LayoutTest, CaseInsensitiveCandidatesThatDoNotExistAreSkipped) {
    // A dangling link "MIXED" and a real folder "mixed": the folder is found.
    fotest::Symlink("nowhere", C("MIXED"));
    MakeDir(C("mixed"));
    WriteFile(C("mixed/In.txt"), "x");
    EXPECT_TRUE(fileops::FileExists("C:\\Mixed\\In.txt"));
    EXPECT_TRUE(fileops::FileExists("C:\\MIXED\\In.txt"));  // the exact "MIXED" leads nowhere
    EXPECT_EQ(fileops::Resolve("C:\\MIXED", Purpose::Existing).native,
              prefix_.dir + "/dosdevices/c:/mixed");
}

TEST_F(LayoutTest, Cp1252NamesMapToUtf8NativeNames) {
    auto r = fileops::Resolve("C:\\WINDOWS\\Caf\xE9.ini", Purpose::Existing);
    ASSERT_EQ(r.outcome, Outcome::Found);
    EXPECT_EQ(r.native, prefix_.dir + "/dosdevices/c:/WINDOWS/Caf\u00e9.ini");
    EXPECT_TRUE(fileops::FileExists("C:\\WINDOWS\\CAF\xC9.INI"));
    // The UTF-8 bytes of the native name are not the Windows name.
    EXPECT_FALSE(fileops::FileExists("C:\\WINDOWS\\Caf\xC3\xA9.ini"));
    // Characters of 0x80..0x9F: the euro sign (0x80) and S caron (0x8A/0x9A).
    WriteFile(C("WINDOWS/\u20ac \u0160.txt"), "x");
    EXPECT_TRUE(fileops::FileExists("C:\\WINDOWS\\\x80 \x8A.txt"));
    EXPECT_TRUE(fileops::FileExists("C:\\WINDOWS\\\x80 \x9A.txt"));  // s caron matches S caron
    EXPECT_TRUE(fileops::FileExists("C:\\WINDOWS\\\x80 \x9A.TXT"));
}

TEST_F(LayoutTest, DirectoriesCount) {
    EXPECT_TRUE(fileops::FileExists("C:\\WINDOWS"));
    EXPECT_TRUE(fileops::FileExists("C:\\windows\\system"));
    EXPECT_TRUE(fileops::FileExists("C:\\"));
}

TEST_F(LayoutTest, OnlyRegularFilesAndFoldersExistAsInWine) {
    ASSERT_EQ(::mkfifo(C("WINDOWS/Pipe").c_str(), 0644), 0);
    fotest::Symlink("/dev/null", C("WINDOWS/Null"));
    EXPECT_FALSE(fileops::FileExists("C:\\WINDOWS\\Pipe"));
    EXPECT_FALSE(fileops::FileExists("C:\\WINDOWS\\Null"));
}

TEST_F(LayoutTest, LinksAreFollowed) {
    MakeDir(dir_ / "elsewhere");
    WriteFile(dir_ / "elsewhere/Hosts", "127.0.0.1 localhost\r\n");
    fotest::Symlink("../../../elsewhere/Hosts", C("WINDOWS/HOSTS"));
    fotest::Symlink("../../elsewhere", C("Linked"));
    fotest::Symlink("missing-target", C("WINDOWS/Dangling"));
    EXPECT_TRUE(fileops::FileExists("C:\\WINDOWS\\Hosts"));
    EXPECT_TRUE(fileops::FileExists("C:\\linked\\hosts"));
    EXPECT_FALSE(fileops::FileExists("C:\\WINDOWS\\Dangling"));
}

TEST_F(LayoutTest, RootNameIsOnTheCurrentDrive) {
    // Another drive D: holding the current directory: "\name" is then on D:.
    MakeDir(dir_ / "ddrive");
    MakeDir(dir_ / "ddrive/Here");
    WriteFile(dir_ / "ddrive/OnD.txt", "d");
    fotest::Symlink(dir_ / "ddrive", prefix_.dir + "/dosdevices/d:");
    {
        fotest::ScopedCwd cwd(dir_ / "ddrive/Here");
        EXPECT_TRUE(fileops::FileExists("\\OnD.txt"));
        EXPECT_FALSE(fileops::FileExists("\\WINDOWS\\Win.ini"));
        EXPECT_TRUE(fileops::FileExists("D:\\OnD.txt"));
        EXPECT_TRUE(fileops::FileExists("..\\OnD.txt"));
        EXPECT_TRUE(
            fileops::FileExists("C:WINDOWS\\Win.ini"));  // C:name, C: not current: root of C:
    }
    EXPECT_TRUE(fileops::FileExists("\\WINDOWS\\Win.ini"));  // back in C:\Work
    EXPECT_TRUE(fileops::FileExists("d:\\ondtxt\\..\\OnD.txt"));
}

TEST_F(LayoutTest, CurrentDirectoryOnNoDriveIsTheWindowsDirectory) {
    // As Wine does when the working directory lies outside every drive.
    fotest::ScopedCwd cwd(dir_.path());
    EXPECT_TRUE(fileops::FileExists("Win.ini"));
    EXPECT_TRUE(fileops::FileExists("System\\Vmm32.vxd"));
    EXPECT_FALSE(fileops::FileExists("Local.txt"));
    EXPECT_TRUE(fileops::FileExists("\\Autoexec.bat"));
}

TEST_F(LayoutTest, DeviceNamesExistInExistingFolders) {
    WriteFile(C("WINDOWS/com1.txt"), "a file that the device name hides");
    EXPECT_TRUE(fileops::FileExists("C:\\WINDOWS\\nul"));
    EXPECT_TRUE(fileops::FileExists("C:\\WINDOWS\\COM1.txt"));
    EXPECT_TRUE(fileops::FileExists("lpt1"));
    EXPECT_FALSE(fileops::FileExists("C:\\Missing\\nul"));
    EXPECT_FALSE(fileops::FileExists("D:\\NUL"));
    EXPECT_EQ(fileops::Resolve("C:\\windows\\Con.ini", Purpose::Existing).outcome, Outcome::Device);
    EXPECT_EQ(fileops::Resolve("C:\\windows\\Con.ini", Purpose::Writing).outcome, Outcome::Device);
    WriteFile(C("WINDOWS/com0.txt"), "COM0 is no device");
    EXPECT_EQ(fileops::Resolve("C:\\WINDOWS\\com0.txt", Purpose::Existing).outcome, Outcome::Found);
}

TEST_F(LayoutTest, UncAndDevicePaths) {
    EXPECT_FALSE(fileops::FileExists("\\\\server\\share\\Win.ini"));
    EXPECT_TRUE(fileops::FileExists("\\\\.\\C:\\WINDOWS\\Win.ini"));
    EXPECT_TRUE(fileops::FileExists("\\\\?\\C:\\WINDOWS\\Win.ini"));
    EXPECT_FALSE(fileops::FileExists("\\\\?\\C:\\WINDOWS\\..\\WINDOWS\\Win.ini"));
    EXPECT_FALSE(fileops::FileExists("\\\\?\\UNC\\server\\share"));
    EXPECT_FALSE(fileops::FileExists("\\\\.\\NUL"));
}

TEST_F(LayoutTest, TrailingSeparatorAsksForAFolder) {
    EXPECT_TRUE(fileops::FileExists("C:\\WINDOWS\\System\\"));
    EXPECT_TRUE(fileops::FileExists("C:\\WINDOWS\\System/"));
    EXPECT_FALSE(fileops::FileExists("C:\\WINDOWS\\Win.ini\\"));
    EXPECT_FALSE(fileops::FileExists("C:\\WINDOWS\\Win.ini\\ "));
    EXPECT_EQ(fileops::Resolve("C:\\WINDOWS\\New.ini\\", Purpose::Writing).outcome,
              Outcome::NotFound);
}

TEST_F(LayoutTest, UnixPathsThroughADriveFolder) {
    // Wine maps a Unix path that runs through the folder of a drive to that drive.
    EXPECT_TRUE(fileops::FileExists(prefix_.driveC + "/WINDOWS/Win.ini"));
    EXPECT_TRUE(fileops::FileExists(prefix_.driveC + "/windows/WIN.INI"));
    EXPECT_TRUE(fileops::FileExists(prefix_.dir + "/dosdevices/c:/WINDOWS"));
    EXPECT_TRUE(fileops::FileExists(prefix_.driveC + "/Work/../WINDOWS/../Autoexec.bat"));
    EXPECT_TRUE(fileops::FileExists(prefix_.driveC + "\\WINDOWS\\Win.ini"));
    EXPECT_FALSE(fileops::FileExists(prefix_.driveC + "/Missing/../WINDOWS"));
    EXPECT_FALSE(fileops::FileExists(prefix_.driveC + "/WINDOWS/Win.ini/"));
    // Outside every drive: the path is taken on the current drive.
    EXPECT_FALSE(fileops::FileExists(dir_.path()));
    EXPECT_TRUE(fileops::FileExists("/WINDOWS/Win.ini"));
    EXPECT_EQ(fileops::Resolve(prefix_.driveC + "/WINDOWS/Win.ini", Purpose::Existing).native,
              prefix_.dir + "/dosdevices/c:/WINDOWS/Win.ini");
}

TEST_F(LayoutTest, ResolvingForWritingUsesTheLastNameAsGiven) {
    auto r = fileops::Resolve("C:\\windows\\New File.INI", Purpose::Writing);
    ASSERT_EQ(r.outcome, Outcome::NewName);
    EXPECT_EQ(r.native, prefix_.dir + "/dosdevices/c:/WINDOWS/New File.INI");
    r = fileops::Resolve("C:\\windows\\WIN.INI", Purpose::Writing);
    ASSERT_EQ(r.outcome, Outcome::Found);
    EXPECT_EQ(r.native, prefix_.dir + "/dosdevices/c:/WINDOWS/Win.ini");
    r = fileops::Resolve("C:\\Missing\\New.ini", Purpose::Writing);
    EXPECT_EQ(r.outcome, Outcome::NotFound);
    r = fileops::Resolve("C:\\WINDOWS\\New.ini", Purpose::Existing);
    EXPECT_EQ(r.outcome, Outcome::NotFound);
    r = fileops::Resolve("C:\\WINDOWS\\a*b", Purpose::Writing);
    EXPECT_EQ(r.outcome, Outcome::Invalid);
}

TEST(PathWithoutPrefix, NothingExists) {
    fotest::TempDir dir("noprefix");
    fotest::ScopedEnv env("WINEPREFIX", dir / "absent");
    EXPECT_FALSE(fileops::FileExists("C:\\"));
    EXPECT_FALSE(fileops::FileExists("C:\\WINDOWS\\Win.ini"));
    EXPECT_FALSE(fileops::FileExists("Win.ini"));
    EXPECT_EQ(PathFileExistsA(nullptr), 0);
}

TEST(PathWithoutPrefix, RelativeWineprefixNamesNoPrefix) {
    fotest::TempDir dir("relprefix");
    auto prefix = fotest::MakePrefix(dir.path());
    fotest::ScopedCwd cwd(dir.path());
    fotest::ScopedEnv env("WINEPREFIX", "prefix");  // Wine refuses a relative prefix
    EXPECT_FALSE(fileops::FileExists("C:\\"));
}

TEST(NamesEqualIgnoringCase, FollowsWindowsUpperCase) {
    using fileops::NamesEqualIgnoringCase;
    EXPECT_TRUE(NamesEqualIgnoringCase("Win.ini", "WIN.INI"));
    EXPECT_TRUE(NamesEqualIgnoringCase("caf\u00e9", "CAF\u00c9"));
    EXPECT_TRUE(NamesEqualIgnoringCase("\u00ff", "\u0178"));  // y diaeresis
    EXPECT_TRUE(NamesEqualIgnoringCase("\u0161\u0153\u017e",
                                       "\u0160\u0152\u017d"));  // s caron, oe, z caron
    EXPECT_TRUE(
        NamesEqualIgnoringCase("\u03b1\u0436", "\u0391\u0416"));  // Greek alpha, Cyrillic zhe
    EXPECT_FALSE(NamesEqualIgnoringCase("cafe", "caf\u00e9"));
    EXPECT_FALSE(NamesEqualIgnoringCase("\u00df", "SS"));  // no multi-character mappings
    EXPECT_FALSE(
        NamesEqualIgnoringCase("a\xff", "A\u00ff"));  // a malformed native byte is no y diaeresis
    EXPECT_FALSE(NamesEqualIgnoringCase("ab", "abc"));
}

}  // namespace

namespace {

int CM_WINAPI AnswersOne(const char*) {
    return 1;
}
int CM_WINAPI AnswersZero(const char*) {
    return 0;
}
int CM_WINAPI AnswersTwo(const char*) {
    return 2;
}
int CM_WINAPI AnswersMinusOne(const char*) {
    return -1;
}

TEST(FileExistsAlgorithm, OnlyExactlyOneMeansExists) {
    using fileops::detail::FileExistsFrom;
    EXPECT_TRUE(FileExistsFrom(&AnswersOne, "C:\\WINDOWS\\Win.ini"));
    EXPECT_FALSE(FileExistsFrom(&AnswersZero, "C:\\WINDOWS\\Win.ini"));
    EXPECT_FALSE(FileExistsFrom(&AnswersTwo, "C:\\WINDOWS\\Win.ini"));
    EXPECT_FALSE(FileExistsFrom(&AnswersMinusOne, "C:\\WINDOWS\\Win.ini"));
}

}  // namespace
