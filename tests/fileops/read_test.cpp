// Whole-file reading: bytes unchanged whatever size the file system reports, and the cause
// of a file that exists but cannot be read.
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include <gtest/gtest.h>

#include "fileops/file_services.h"
#include "support.h"

namespace {

using fileops::ReadWholeFile;
using fotest::MakeDir;
using fotest::WriteFile;

// The misreporting file system of misreporting_fs.cpp, mounted on a folder while it lives.
class MisreportingMount {
  public:
    explicit MisreportingMount(const std::string& folder) : folder_(folder) {
#ifndef MISREPORTING_FS
        skipReason_ = "built without libfuse3";
#else
        if (::access("/dev/fuse", R_OK | W_OK) != 0) {
            skipReason_ = "/dev/fuse is missing or not usable here";
            return;
        }
        struct stat before {};
        ::stat(folder.c_str(), &before);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execl(MISREPORTING_FS, "misreporting_fs", "-f", "-s", folder.c_str(), nullptr);
            ::_exit(127);
        }
        for (int tries = 0; tries < 500; ++tries) {
            struct stat now {};
            if (::stat(folder.c_str(), &now) == 0 && now.st_dev != before.st_dev)
                return;
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        skipReason_ = "the FUSE file system could not be mounted here";
#endif
    }
    ~MisreportingMount() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGTERM);  // the file system unmounts itself on the way out
        ::waitpid(pid_, nullptr, 0);
        ::umount2(folder_.c_str(), MNT_DETACH);
    }
    MisreportingMount(const MisreportingMount&) = delete;
    MisreportingMount& operator=(const MisreportingMount&) = delete;
    const std::string& SkipReason() const {
        return skipReason_;
    }

  private:
    std::string folder_;
    std::string skipReason_;
    pid_t pid_ = -1;
};

class ReadTest : public fotest::DriveTest {
  protected:
    ReadTest() : DriveTest("read") {}
};

TEST_F(ReadTest, BytesPassUnchanged) {
    std::string allTwice = fotest::AllBytes() + fotest::AllBytes();
    std::reverse(allTwice.begin() + 256, allTwice.end());
    std::string big(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 7919) >> 3);
    const struct {
        const char* stored;
        const char* asked;
        std::string bytes;
    } cases[] = {
        {"WINDOWS/Win.ini", "C:\\WINDOWS\\Win.ini", ""},
        {"WINDOWS/System.ini", "C:\\WINDOWS\\System.ini",
         "[windows]\r\nload=\r\nrun=\nlone\rcr\r\n\r\n\n\rend"},
        {"WINDOWS/Bytes.bin", "C:\\windows\\BYTES.BIN", allTwice},
        {"WINDOWS/Big.txt", "C:\\WINDOWS\\Big.txt", big},
        {"WINDOWS/Caf\u00e9.ini", "C:\\WINDOWS\\CAF\xC9.INI", "cafe"},
        {"Autoexec.bat", "C:\\AUTOEXEC.BAT", "@ECHO OFF\r\n"},
    };
    for (const auto& c : cases) {
        WriteFile(C(c.stored), c.bytes);
        const fileops::ReadResult read = ReadWholeFile(c.asked);
        EXPECT_TRUE(read.ok) << c.asked << ": " << read.cause;
        EXPECT_TRUE(read.bytes == c.bytes) << c.asked;
    }
}

TEST_F(ReadTest, WholeFileWhateverSizeTheFileSystemReports) {
    const MisreportingMount mount(C("WINDOWS"));
    if (!mount.SkipReason().empty())
        GTEST_SKIP() << mount.SkipReason();
    // Reported as 0, the first line's 11, the truth, and more than there is.
    for (const char* name : {"Win.ini", "System.ini", "Hosts", "Protocol"}) {
        const fileops::ReadResult read = ReadWholeFile(std::string("C:\\WINDOWS\\") + name);
        EXPECT_TRUE(read.ok) << name;
        EXPECT_EQ(read.bytes, "[windows]\r\nload=\r\nrun=\r\nBeep=yes\r\nDevice=") << name;
    }

    // A read that fails part-way yields nothing rather than the part.
    const fileops::ReadResult failed = ReadWholeFile("C:\\WINDOWS\\Config.sys");
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.bytes, "");
    EXPECT_NE(failed.cause.find(std::strerror(EIO)), std::string::npos) << failed.cause;
}

TEST_F(ReadTest, FileHoldingMoreThanItReportsIsRefusedOnceItCannotFit) {
    const MisreportingMount mount(C("WINDOWS"));
    if (!mount.SkipReason().empty())
        GTEST_SKIP() << mount.SkipReason();
    // 2 MiB of 0x80 reported as empty, for a box of 3 MiB taking three units a byte: the
    // first MiB is read unmeasured, as even three a byte would fit.
    const fileops::TextRoom room{3u << 20, [](std::string_view piece) { return 3 * piece.size(); }};
    const fileops::ReadResult read = ReadWholeFile("C:\\WINDOWS\\Bytes.bin", room);
    EXPECT_FALSE(read.ok);
    EXPECT_TRUE(read.tooLarge);
    EXPECT_TRUE(read.sizeIsAtLeast);
    EXPECT_GT(read.size, 1u << 20);
    EXPECT_EQ(read.bytes, "");
}

TEST_F(ReadTest, LinkToAPseudoFileReportingSizeZeroIsReadWhole) {
    fotest::Symlink("/proc/self/status", C("WINDOWS/Win.ini"));
    const std::string text = ReadWholeFile("C:\\WINDOWS\\Win.ini").bytes;
    EXPECT_EQ(text.rfind("Name:\t", 0), 0u) << text;
    EXPECT_NE(text.find("\nVmSize:"), std::string::npos) << text;
}

TEST_F(ReadTest, WhatCannotBeReadSaysWhy) {
    MakeDir(C("WINDOWS/Win.ini"));
    const struct {
        const char* path;
        std::string cause;
    } cases[] = {
        {"C:\\WINDOWS\\Win.ini", std::strerror(EISDIR)},  // a folder where the file should be
        {"C:\\WINDOWS\\NUL", "device"},                   // exists, as in Wine, but is no file
        {"C:\\WINDOWS\\Hosts", std::strerror(ENOENT)},
    };
    for (const auto& c : cases) {
        const fileops::ReadResult read = ReadWholeFile(c.path);
        EXPECT_FALSE(read.ok) << c.path;
        EXPECT_EQ(read.bytes, "") << c.path;
        EXPECT_NE(read.cause.find(c.cause), std::string::npos) << c.path << ": " << read.cause;
    }
}

TEST_F(ReadTest, FileWithoutReadPermissionIsUnreadable) {
    auto body = [](const std::string& dir) {
        fotest::ScopedEnv env("WINEPREFIX", dir + "/prefix");
        const std::string path = "C:\\WINDOWS\\System.ini";
        ASSERT_TRUE(fileops::FileExists(path));
        const fileops::ReadResult read = ReadWholeFile(path);
        EXPECT_FALSE(read.ok);
        EXPECT_NE(read.cause.find(std::strerror(EACCES)), std::string::npos) << read.cause;
    };
    if (fotest::OtherUser::IsChild())
        return fotest::OtherUser::RunBody(body);
    WriteFile(C("WINDOWS/System.ini"), "[boot]\r\n");
    fotest::Chmod(C("WINDOWS/System.ini"), 0000);
    fotest::OtherUser::Run(dir_.path(), body);
}

TEST_F(ReadTest, FifoDoesNotHang) {
    // As in Wine, a pipe has no file attributes, so it does not exist.
    ASSERT_EQ(::mkfifo(C("WINDOWS/Win.ini").c_str(), 0666), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(fileops::FileExists("C:\\WINDOWS\\Win.ini"));
    // Below the existence test (a pipe put in place after it), reading fails at once.
    const auto read = fileops::ReadNativeFile(C("WINDOWS/Win.ini"));
    EXPECT_FALSE(read.ok);
    EXPECT_NE(read.cause.find("Not a regular file"), std::string::npos) << read.cause;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(ReadTest, DevicesAreNotRead) {
    for (const char* device : {"/dev/zero", "/dev/null", "/dev/tty"}) {
        const auto read = fileops::ReadNativeFile(device);
        EXPECT_FALSE(read.ok) << device;
        EXPECT_TRUE(read.bytes.empty()) << device;
    }
}

}  // namespace
