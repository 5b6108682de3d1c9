// Whole-file reading: every byte whatever size the file system reports, all or nothing, and
// a text too large for its box refused as soon as that is known.
#include <cstring>

#include <gtest/gtest.h>

#include "fileops/file_services.h"
#include "support.h"
#include "tests/support/temp_drive.h"

namespace {

namespace fs = std::filesystem;
using fileops::ReadWholeFile;

TEST(Read, TheFilesPermissionBitsBind) {
    testsupport::TempDrive drive;
    drive.Write("WINDOWS/System.ini", "[boot]\r\n");
    fs::permissions(drive.DriveC() / "WINDOWS/System.ini", fs::perms::none);
    fs::permissions(drive.Prefix().parent_path(), fs::perms::all);
    const auto other = fotest::InChild(fotest::kOtherUser, [](std::string& report) {
        report = ReadWholeFile("C:\\WINDOWS\\System.ini").cause;
        return 0;
    });
    if (other.code == fotest::kCannotRun)
        GTEST_SKIP() << other.text;
    EXPECT_NE(other.text.find(std::strerror(EACCES)), std::string::npos) << other.text;
}

TEST(Read, FileLargerThanTheRoomIsRefusedBeforeItIsRead) {
    testsupport::TempDrive drive;
    const fs::path sparse = drive.Write("WINDOWS/Win.ini", "[windows]\r\n");
    fs::resize_file(sparse, std::uint64_t{1} << 40);  // a terabyte of holes
    const fileops::TextRoom room{64u << 20, {}};
    const fileops::ReadResult read = ReadWholeFile("C:\\WINDOWS\\Win.ini", room);
    EXPECT_TRUE(read.tooLarge);
    EXPECT_FALSE(read.sizeIsAtLeast);
    EXPECT_EQ(read.size, std::uint64_t{1} << 40);
    fs::resize_file(sparse, 64u << 20);
    EXPECT_TRUE(ReadWholeFile("C:\\WINDOWS\\Win.ini", room).ok) << "exactly the room fits";
}

// The kernel's pseudo files report sizes they do not hold: 0 under /proc, 4096 under /sys.
TEST(Read, WholeFileWhateverSizeTheFileSystemReports) {
    testsupport::TempDrive drive;
    const fs::path link = drive.WindowsDir() / "Hosts";
    for (const char* file : {"/sys/devices/system/cpu/online", "/proc/self/cmdline"}) {
        fs::remove(link), fs::create_symlink(file, link);
        const fileops::ReadResult read = ReadWholeFile("C:\\WINDOWS\\Hosts");
        EXPECT_TRUE(read.ok) << file << ": " << read.cause;
        EXPECT_EQ(read.bytes, testsupport::ReadBytes(file));
        EXPECT_NE(read.bytes.size(), fs::file_size(file)) << file;
    }
    // Reported as empty, longer than a room of 30 at three units a byte.
    const fileops::TextRoom room{30, [](std::string_view piece) { return 3 * piece.size(); }};
    const fileops::ReadResult large = ReadWholeFile("C:\\WINDOWS\\Hosts", room);
    EXPECT_TRUE(large.tooLarge && large.sizeIsAtLeast && large.size > 10) << large.size;
    EXPECT_EQ(large.bytes, "");
}

}  // namespace
