// Whole-file reading: every byte whatever size the file system reports, all or nothing, and
// a text too large for its box refused as soon as that is known.
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstring>
#include <thread>

#include <gtest/gtest.h>

#include "fileops/file_services.h"
#include "support.h"
#include "tests/support/temp_drive.h"

namespace {

namespace fs = std::filesystem;
using fileops::ReadWholeFile;

// Pipes and devices are not read (nor waited on); the permission bits bind.
TEST(Read, WhatCannotBeReadGivesNothingAndSaysWhy) {
    testsupport::TempDrive drive;
    ASSERT_EQ(::mkfifo((drive.DriveC() / "WINDOWS/Pipe").c_str(), 0666), 0);
    for (const fs::path& device : {drive.DriveC() / "WINDOWS/Pipe", fs::path("/dev/zero")})
        EXPECT_FALSE(fileops::ReadNativeFile(device).ok) << device;
    fs::create_symlink("/proc/self/status", drive.DriveC() / "WINDOWS/Status");  // reports 0
    EXPECT_EQ(ReadWholeFile("C:\\WINDOWS\\Status").bytes.rfind("Name:\t", 0), 0u);
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

// The file system of misreporting_fs.cpp, mounted on a folder of the drive.
TEST(Read, WholeFileWhateverSizeTheFileSystemReports) {
#ifndef MISREPORTING_FS
    GTEST_SKIP() << "built without libfuse3";
#else
    testsupport::TempDrive drive;
    const fs::path folder = drive.WindowsDir();
    const auto device = [&] {
        struct stat st {};
        ::stat(folder.c_str(), &st);
        return st.st_dev;
    };
    const dev_t before = device();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl(MISREPORTING_FS, "misreporting_fs", "-f", "-s", folder.c_str(), nullptr);
        ::_exit(127);
    }
    for (int i = 0; i < 500 && device() == before && ::waitpid(pid, nullptr, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    struct Unmount {
        pid_t pid;
        fs::path folder;
        ~Unmount() {
            ::kill(pid, SIGTERM), ::waitpid(pid, nullptr, 0), ::umount2(folder.c_str(), MNT_DETACH);
        }
    } unmount{pid, folder};
    if (device() == before)
        GTEST_SKIP() << "cannot mount a FUSE file system here (no /dev/fuse?)";
    for (const char* name : {"Win.ini", "System.ini", "Hosts", "Protocol"}) {
        const fileops::ReadResult read = ReadWholeFile(std::string("C:\\WINDOWS\\") + name);
        EXPECT_TRUE(read.ok) << name;
        EXPECT_EQ(read.bytes, "[windows]\r\nload=\r\nrun=\r\nBeep=yes\r\nDevice=") << name;
    }
    const fileops::ReadResult failed = ReadWholeFile("C:\\WINDOWS\\Config.sys");
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.bytes, "") << "a read failing part-way gives nothing";
    EXPECT_NE(failed.cause.find(std::strerror(EIO)), std::string::npos) << failed.cause;
    // 2 MiB reported as empty, for a room of 3 MiB at three units a byte.
    const fileops::TextRoom room{3u << 20, [](std::string_view piece) { return 3 * piece.size(); }};
    const fileops::ReadResult large = ReadWholeFile("C:\\WINDOWS\\Bytes.bin", room);
    EXPECT_TRUE(large.tooLarge && large.sizeIsAtLeast && large.size > (1u << 20));
    EXPECT_EQ(large.bytes, "");
#endif
}

}  // namespace
