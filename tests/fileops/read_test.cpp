// ReadFileText: bytes unchanged, the not-found box and sentence, and the
// report of a file that exists but cannot be read.
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include <gtest/gtest.h>

#include "fileops/modFileOps.h"
#include "fileops/native_file.h"
#include "support.h"

namespace {

using fotest::MakeDir;
using fotest::WriteFile;
using modFileOps::ReadStatus;

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
    fotest::BoxRecorder recorder_;
};

TEST_F(ReadTest, EmptyFileReadsAsEmptyTextWithoutABox) {
    WriteFile(C("WINDOWS/Win.ini"), "");
    ReadStatus status = ReadStatus::NotFound;
    EXPECT_EQ(modFileOps::ReadFileText("C:\\WINDOWS\\Win.ini", &status), "");
    EXPECT_EQ(status, ReadStatus::Ok);
    EXPECT_TRUE(recorder_.boxes.empty());
}

TEST_F(ReadTest, LineEndsPassUnchanged) {
    const std::string text = "[windows]\r\nload=\r\nrun=\nlone\rcr\r\n\r\n\n\rend";
    WriteFile(C("WINDOWS/Win.ini"), text);
    ReadStatus status = ReadStatus::NotFound;
    EXPECT_EQ(modFileOps::ReadFileText("C:\\WINDOWS\\Win.ini", &status), text);
    EXPECT_EQ(status, ReadStatus::Ok);
    EXPECT_TRUE(recorder_.boxes.empty());
}

TEST_F(ReadTest, EveryByteValueIsReadExactly) {
    std::string bytes = fotest::AllBytes() + fotest::AllBytes();
    std::reverse(bytes.begin() + 256, bytes.end());
    WriteFile(C("WINDOWS/Bytes.bin"), bytes);
    const std::string read = modFileOps::ReadFileText("C:\\windows\\BYTES.BIN");
    ASSERT_EQ(read.size(), 512u);
    EXPECT_EQ(read, bytes);
    EXPECT_TRUE(recorder_.boxes.empty());
}

TEST_F(ReadTest, LargeFileIsReadWhole) {
    std::string bytes(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7919) >> 3);
    WriteFile(C("WINDOWS/Big.txt"), bytes);
    EXPECT_EQ(modFileOps::ReadFileText("C:\\WINDOWS\\Big.txt"), bytes);
}

TEST_F(ReadTest, WholeFileWhateverSizeTheFileSystemReports) {
    const MisreportingMount mount(C("WINDOWS"));
    if (!mount.SkipReason().empty())
        GTEST_SKIP() << mount.SkipReason();
    // Reported as 0, the first line's 11, the truth, and more than there is.
    for (const char* name : {"Win.ini", "System.ini", "Hosts", "Protocol"}) {
        ReadStatus status = ReadStatus::NotFound;
        EXPECT_EQ(modFileOps::ReadFileText(std::string("C:\\WINDOWS\\") + name, &status),
                  "[windows]\r\nload=\r\nrun=\r\nBeep=yes\r\nDevice=")
            << name;
        EXPECT_EQ(status, ReadStatus::Ok) << name;
    }
    EXPECT_TRUE(recorder_.boxes.empty());

    // A read that fails part-way yields nothing rather than the part.
    ReadStatus status = ReadStatus::Ok;
    EXPECT_EQ(modFileOps::ReadFileText("C:\\WINDOWS\\Config.sys", &status), "");
    EXPECT_EQ(status, ReadStatus::Unreadable);
    ASSERT_EQ(recorder_.boxes.size(), 1u);
    EXPECT_NE(recorder_.boxes[0].prompt.find("C:\\WINDOWS\\Config.sys"), std::string::npos);
    EXPECT_NE(recorder_.boxes[0].prompt.find(std::strerror(EIO)), std::string::npos)
        << recorder_.boxes[0].prompt;
}

TEST_F(ReadTest, FileHoldingMoreThanItReportsIsRefusedOnceItCannotFit) {
    const MisreportingMount mount(C("WINDOWS"));
    if (!mount.SkipReason().empty())
        GTEST_SKIP() << mount.SkipReason();
    // 2 MiB of 0x80 reported as empty, for a box of 3 MiB taking three units a byte: the
    // first MiB is read unmeasured, as even three a byte would fit.
    const modFileOps::TextRoom room{3u << 20,
                                    [](std::string_view piece) { return 3 * piece.size(); }};
    ReadStatus status = ReadStatus::Ok;
    EXPECT_EQ(modFileOps::ReadFileText("C:\\WINDOWS\\Bytes.bin", &status, room), "");
    EXPECT_EQ(status, ReadStatus::TooLarge);
    ASSERT_EQ(recorder_.boxes.size(), 1u);
    EXPECT_NE(recorder_.boxes[0].prompt.find("the file holds at least "), std::string::npos)
        << recorder_.boxes[0].prompt;
    EXPECT_NE(recorder_.boxes[0].prompt.find("than the 3,145,728 bytes"), std::string::npos);
}

TEST_F(ReadTest, LinkToAPseudoFileReportingSizeZeroIsReadWhole) {
    fotest::Symlink("/proc/self/status", C("WINDOWS/Win.ini"));
    const std::string text = modFileOps::ReadFileText("C:\\WINDOWS\\Win.ini");
    EXPECT_EQ(text.rfind("Name:\t", 0), 0u) << text;
    EXPECT_NE(text.find("\nVmSize:"), std::string::npos) << text;
    EXPECT_TRUE(recorder_.boxes.empty());
}

TEST_F(ReadTest, NonAsciiNamesAndOtherCase) {
    WriteFile(C("WINDOWS/Caf\u00e9.ini"), "cafe");
    EXPECT_EQ(modFileOps::ReadFileText("C:\\WINDOWS\\CAF\xC9.INI"), "cafe");
    WriteFile(C("Autoexec.bat"), "@ECHO OFF\r\n");
    EXPECT_EQ(modFileOps::ReadFileText("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\n");
    EXPECT_TRUE(recorder_.boxes.empty());
}

TEST_F(ReadTest, MissingFileShowsOneBoxAndReturnsTheSentence) {
    ReadStatus status = ReadStatus::Ok;
    const std::string path = "C:\\WINDOWS\\Hosts";
    EXPECT_EQ(modFileOps::ReadFileText(path, &status),
              "File C:\\WINDOWS\\Hosts does not exist on system");
    EXPECT_EQ(status, ReadStatus::NotFound);
    ASSERT_EQ(recorder_.boxes.size(), 1u);
    EXPECT_EQ(recorder_.boxes[0].prompt, "Cindermoor was unable to find specified file");
    EXPECT_EQ(recorder_.boxes[0].style, 16);
    EXPECT_EQ(recorder_.boxes[0].caption, "Error");
}

TEST_F(ReadTest, NotFoundSentenceHoldsThePathExactlyAsPassed) {
    // The empty Windows directory's candidates and odd spellings stay as they were passed.
    for (const std::string& path :
         {std::string("\\Hosts"), std::string("Hosts"), std::string("C:\\\\Hosts"),
          std::string("C:\\WINDOWS\\Caf\xE9 X.ini"), std::string("")}) {
        recorder_.boxes.clear();
        ReadStatus status = ReadStatus::Ok;
        EXPECT_EQ(modFileOps::ReadFileText(path, &status),
                  "File " + path + " does not exist on system");
        EXPECT_EQ(status, ReadStatus::NotFound);
        EXPECT_EQ(recorder_.boxes.size(), 1u) << path;
    }
}

TEST_F(ReadTest, WorksWithoutStatusPointer) {
    EXPECT_EQ(modFileOps::ReadFileText("C:\\Nope"), "File C:\\Nope does not exist on system");
    EXPECT_EQ(recorder_.boxes.size(), 1u);
}

TEST_F(ReadTest, FolderInPlaceOfTheFileIsUnreadable) {
    MakeDir(C("WINDOWS/Win.ini"));
    ReadStatus status = ReadStatus::Ok;
    EXPECT_EQ(modFileOps::ReadFileText("C:\\WINDOWS\\Win.ini", &status), "");
    EXPECT_EQ(status, ReadStatus::Unreadable);
    ASSERT_EQ(recorder_.boxes.size(), 1u);
    const auto& box = recorder_.boxes[0];
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.style, 16);
    EXPECT_NE(box.prompt.find("C:\\WINDOWS\\Win.ini"), std::string::npos) << box.prompt;
    EXPECT_NE(box.prompt.find(std::strerror(EISDIR)), std::string::npos) << box.prompt;
}

TEST_F(ReadTest, FileWithoutReadPermissionIsUnreadable) {
    auto body = [](const std::string& dir) {
        fotest::BoxRecorder recorder;
        fotest::ScopedEnv env("WINEPREFIX", dir + "/prefix");
        const std::string path = "C:\\WINDOWS\\System.ini";
        ASSERT_TRUE(modFileOps::FileExists(path));
        ReadStatus status = ReadStatus::Ok;
        EXPECT_EQ(modFileOps::ReadFileText(path, &status), "");
        EXPECT_EQ(status, ReadStatus::Unreadable);
        ASSERT_EQ(recorder.boxes.size(), 1u);
        const auto& box = recorder.boxes[0];
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.style, 16);
        EXPECT_NE(box.prompt.find(path), std::string::npos) << box.prompt;
        EXPECT_NE(box.prompt.find(std::strerror(EACCES)), std::string::npos) << box.prompt;
    };
    if (fotest::OtherUser::IsChild())
        return fotest::OtherUser::RunBody(body);
    WriteFile(C("WINDOWS/System.ini"), "[boot]\r\n");
    fotest::Chmod(C("WINDOWS/System.ini"), 0000);
    fotest::OtherUser::Run(dir_.path(), body);
}

TEST_F(ReadTest, FifoDoesNotHang) {
    // As in Wine, a pipe has no file attributes, so FileExists says no: the not-found box.
    ASSERT_EQ(::mkfifo(C("WINDOWS/Win.ini").c_str(), 0666), 0);
    const auto start = std::chrono::steady_clock::now();
    ReadStatus status = ReadStatus::Ok;
    EXPECT_EQ(modFileOps::ReadFileText("C:\\WINDOWS\\Win.ini", &status),
              "File C:\\WINDOWS\\Win.ini does not exist on system");
    EXPECT_EQ(status, ReadStatus::NotFound);
    EXPECT_EQ(recorder_.boxes.size(), 1u);
    // Below the existence test (a pipe put in place after it), reading fails at once.
    const auto read = fileops::ReadNativeFile(C("WINDOWS/Win.ini"));
    EXPECT_FALSE(read.ok);
    EXPECT_NE(read.cause.find("Not a regular file"), std::string::npos) << read.cause;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(ReadTest, DosDeviceNameExistsButIsNotRead) {
    ReadStatus status = ReadStatus::Ok;
    EXPECT_EQ(modFileOps::ReadFileText("C:\\WINDOWS\\NUL", &status), "");
    EXPECT_EQ(status, ReadStatus::Unreadable);
    ASSERT_EQ(recorder_.boxes.size(), 1u);
    EXPECT_NE(recorder_.boxes[0].prompt.find("C:\\WINDOWS\\NUL"), std::string::npos);
    EXPECT_NE(recorder_.boxes[0].prompt.find("device"), std::string::npos)
        << recorder_.boxes[0].prompt;
}

TEST_F(ReadTest, DevicesAreNotRead) {
    for (const char* device : {"/dev/zero", "/dev/null", "/dev/tty"}) {
        const auto read = fileops::ReadNativeFile(device);
        EXPECT_FALSE(read.ok) << device;
        EXPECT_TRUE(read.bytes.empty()) << device;
    }
}

}  // namespace
