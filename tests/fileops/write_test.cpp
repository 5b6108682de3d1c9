// WriteFileText: exact bytes, no line end
// added, safe replacement, and real faults that leave the original untouched.
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "child.h"
#include "fileops/file_services.h"
#include "support.h"

namespace {

using fotest::ListDir;
using fotest::MakeDir;
using fotest::ReadFile;
using fotest::WriteFile;

class WriteTest : public fotest::DriveTest {
  protected:
    WriteTest() : DriveTest("write") {}
};

TEST_F(WriteTest, RoundTripIsByteExact) {
    const std::string text = fotest::AllBytes() + "\r\nline\nline\rend\r\n";
    WriteFile(C("WINDOWS/Win.ini"), "old");
    EXPECT_EQ(fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", text), std::nullopt);
    EXPECT_EQ(ReadFile(C("WINDOWS/Win.ini")), text);
    EXPECT_EQ(fileops::ReadWholeFile("C:\\WINDOWS\\Win.ini").bytes, text);
    EXPECT_EQ(ListDir(C("WINDOWS")), std::vector<std::string>{"Win.ini"});
}

TEST_F(WriteTest, NoLineEndIsAdded) {
    WriteFile(C("WINDOWS/Win.ini"), "old content that is longer");
    ASSERT_EQ(fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", "abc"), std::nullopt);
    EXPECT_EQ(ReadFile(C("WINDOWS/Win.ini")), "abc");
}

TEST_F(WriteTest, OpenSaveCyclesDoNotGrowTheFile) {
    const std::string original = "[boot]\r\nshell=Explorer.exe\r\n";
    WriteFile(C("WINDOWS/System.ini"), original);
    for (int i = 0; i < 3; ++i) {
        const std::string text = fileops::ReadWholeFile("C:\\WINDOWS\\System.ini").bytes;
        ASSERT_EQ(fileops::ReplaceWholeFile("C:\\WINDOWS\\System.ini", text), std::nullopt);
    }
    EXPECT_EQ(ReadFile(C("WINDOWS/System.ini")), original);
}

TEST_F(WriteTest, EmptyTextLeavesAnEmptyFile) {
    WriteFile(C("WINDOWS/Win.ini"), "something");
    ASSERT_EQ(fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", ""), std::nullopt);
    struct stat st;
    ASSERT_EQ(::stat(C("WINDOWS/Win.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
}

TEST_F(WriteTest, ExistingFileInOtherCaseIsReplacedNotDuplicated) {
    WriteFile(C("WINDOWS/Win.ini"), "old");
    ASSERT_EQ(fileops::ReplaceWholeFile("c:\\windows\\WIN.INI", "new"), std::nullopt);
    EXPECT_EQ(ListDir(C("WINDOWS")), std::vector<std::string>{"Win.ini"});
    EXPECT_EQ(ReadFile(C("WINDOWS/Win.ini")), "new");
}

TEST_F(WriteTest, NewFileInAnExistingFolderIsCreated) {
    const mode_t old = ::umask(022);
    const auto cause = fileops::ReplaceWholeFile("C:\\windows\\Caf\xE9.ini", "neu\r\n");
    ::umask(old);
    ASSERT_EQ(cause, std::nullopt);
    EXPECT_EQ(ListDir(C("WINDOWS")), std::vector<std::string>{"Caf\u00e9.ini"});
    EXPECT_EQ(ReadFile(C("WINDOWS/Caf\u00e9.ini")), "neu\r\n");
    EXPECT_EQ(fotest::ModeOf(C("WINDOWS/Caf\u00e9.ini")), 0644u);
}

TEST_F(WriteTest, NewFileAtTheRootOfC) {
    ASSERT_EQ(fileops::ReplaceWholeFile("C:\\Hosts", "x"), std::nullopt);
    EXPECT_EQ(ReadFile(C("Hosts")), "x");
}

TEST_F(WriteTest, OwnerAndGroupAreKept) {
    if (::geteuid() != 0)
        GTEST_SKIP()
            << "Only root can give a file another owner; this case runs in CI, which runs as root.";
    WriteFile(C("WINDOWS/Win.ini"), "old");
    ASSERT_EQ(::chown(C("WINDOWS/Win.ini").c_str(), 65534, 65534), 0);
    ASSERT_EQ(fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", "new"), std::nullopt);
    struct stat st;
    ASSERT_EQ(::stat(C("WINDOWS/Win.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(ReadFile(C("WINDOWS/Win.ini")), "new");
}

TEST_F(WriteTest, SymlinkIsWrittenThrough) {
    MakeDir(dir_ / "store");
    WriteFile(dir_ / "store/real.ini", "old");
    fotest::Chmod(dir_ / "store/real.ini", 0620);
    fotest::Symlink("../../../store/real.ini", C("WINDOWS/Win.ini"));
    ASSERT_EQ(fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", "new"), std::nullopt);
    EXPECT_TRUE(fotest::IsSymlink(C("WINDOWS/Win.ini"))) << "the link stays a link";
    EXPECT_EQ(ReadFile(dir_ / "store/real.ini"), "new");
    EXPECT_EQ(fotest::ModeOf(dir_ / "store/real.ini"), 0620u);
    EXPECT_EQ(ListDir(dir_ / "store"), std::vector<std::string>{"real.ini"})
        << "temporary file in the target's folder";
    EXPECT_EQ(ListDir(C("WINDOWS")), std::vector<std::string>{"Win.ini"});
}

TEST_F(WriteTest, FolderWhereTheFileShouldBe) {
    MakeDir(C("WINDOWS/Win.ini"));
    const auto cause = fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", "text");
    ASSERT_TRUE(cause.has_value());
    EXPECT_NE(cause->find("folder"), std::string::npos) << *cause;
    EXPECT_TRUE(ListDir(C("WINDOWS/Win.ini")).empty());
    EXPECT_EQ(ListDir(C("WINDOWS")), std::vector<std::string>{"Win.ini"});
}

TEST_F(WriteTest, MissingParentFolder) {
    const auto cause = fileops::ReplaceWholeFile("C:\\Missing\\Win.ini", "text");
    ASSERT_TRUE(cause.has_value());
    EXPECT_NE(cause->find(std::strerror(ENOENT)), std::string::npos) << *cause;
    EXPECT_FALSE(fotest::Exists(C("Missing")));
    EXPECT_EQ(ListDir(prefix_.driveC), std::vector<std::string>{"WINDOWS"});
}

TEST_F(WriteTest, MissingDriveAndInvalidNames) {
    EXPECT_TRUE(fileops::ReplaceWholeFile("D:\\Win.ini", "text").has_value());
    const auto device = fileops::ReplaceWholeFile("C:\\WINDOWS\\nul.ini", "text");
    ASSERT_TRUE(device.has_value());
    EXPECT_NE(device->find("device"), std::string::npos) << *device;
    EXPECT_TRUE(fileops::ReplaceWholeFile("C:\\WINDOWS\\New.ini\\", "text").has_value());
    EXPECT_TRUE(fileops::ReplaceWholeFile("C:\\WINDOWS\\Win*.ini", "text").has_value());
    EXPECT_TRUE(fileops::ReplaceWholeFile("", "text").has_value());
    EXPECT_TRUE(ListDir(C("WINDOWS")).empty());
}

// The write fails midway on a real limit: the child process may not write more than
// 64 KiB into any file. The original stays byte for byte, no temporary file is left, the
// cause is returned, and SIGXFSZ does not end the process.
TEST_F(WriteTest, FileSizeLimitLeavesTheOriginalUntouched) {
    const std::string original = "[windows]\r\nload=\r\n" + fotest::AllBytes();
    WriteFile(C("WINDOWS/Win.ini"), original);
    const auto outcome = fotest::InChild([](std::string& report) {
        const struct rlimit limit { 64 * 1024, 64 * 1024 };
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 3;
        const auto cause =
            fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", std::string(1024 * 1024, 'x'));
        // The former disposition of SIGXFSZ (the default) is back after the call.
        struct sigaction now {};
        ::sigaction(SIGXFSZ, nullptr, &now);
        report = cause.value_or("");
        return now.sa_handler != SIG_DFL ? 4 : !cause ? 2 : 0;
    });
    ASSERT_TRUE(outcome.exited) << "killed by signal " << outcome.code;
    ASSERT_EQ(outcome.code, 0)
        << "2: the write claimed success; 3: setrlimit failed; 4: SIGXFSZ not restored";
    EXPECT_NE(outcome.text.find(std::strerror(EFBIG)), std::string::npos) << outcome.text;
    EXPECT_EQ(ReadFile(C("WINDOWS/Win.ini")), original);
    EXPECT_EQ(ListDir(C("WINDOWS")), std::vector<std::string>{"Win.ini"});
}

// A full file system: C: is a 64 KiB tmpfs, mounted in a private mount namespace of a
// child process (so it vanishes with the child). Needs root with CAP_SYS_ADMIN; where the
// system refuses the mount the case says so and is skipped (the file-size limit above
// covers a write that fails midway everywhere).
TEST_F(WriteTest, FullFileSystemLeavesTheOriginalUntouched) {
    const std::string small = dir_ / "small";
    MakeDir(small);
    fotest::RemoveTree(prefix_.driveC);
    fotest::Symlink(small, prefix_.driveC);
    const auto outcome = fotest::InChild([&](std::string& report) {
        if (!fotest::PrivateMounts(&report))
            return fotest::kCannotRun;
        if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0) {
            report = std::string("mount tmpfs: ") + std::strerror(errno);
            return fotest::kCannotRun;
        }
        ::mkdir(C("WINDOWS").c_str(), 0755);
        WriteFile(C("WINDOWS/Win.ini"), "[windows]\r\n");
        const auto cause =
            fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", std::string(1024 * 1024, 'x'));
        report = cause.value_or("the write claimed success on a full file system");
        if (!cause || cause->find(std::strerror(ENOSPC)) == std::string::npos)
            return 1;
        if (ListDir(C("WINDOWS")) != std::vector<std::string>{"Win.ini"})
            report += "; a temporary file was left behind";
        if (ReadFile(C("WINDOWS/Win.ini")) != "[windows]\r\n")
            report += "; the original changed";
        return report == *cause ? 0 : 1;
    });
    if (outcome.exited && outcome.code == fotest::kCannotRun)
        GTEST_SKIP() << "The system does not let this test mount a small file system: "
                     << outcome.text;
    EXPECT_TRUE(outcome.exited && outcome.code == 0) << outcome.code << ": " << outcome.text;
}

// The file the open found becomes a link that leads nowhere before the save: the save goes
// through the link or refuses, and never adds a second file under the name as typed.
TEST_F(WriteTest, LinkLeadingNowhereIsTheFileNotAFreeName) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // name in WINDOWS, target
        int refusal;                                             // 0: written through
    };
    const Case cases[] = {
        {"dangling link", {{"WIN.INI", "../../../store/real.ini"}}, 0},
        {"chain of links", {{"WIN.INI", "chain"}, {"chain", "../../../store/real.ini"}}, 0},
        {"link into a missing folder", {{"WIN.INI", "../../../missing/real.ini"}}, ENOENT},
        {"loop", {{"WIN.INI", "WIN.INI"}}, ELOOP},
    };
    MakeDir(dir_ / "store");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(C("WINDOWS/WIN.INI"), "old");
        ASSERT_EQ(fileops::ReadWholeFile("C:\\WINDOWS\\Win.ini").bytes, "old");
        ::unlink(C("WINDOWS/WIN.INI").c_str());
        std::vector<std::string> names;
        for (const auto& [name, target] : c.links) {
            fotest::Symlink(target, C("WINDOWS/" + name));
            names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        const auto cause = fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", "new");
        EXPECT_EQ(ListDir(C("WINDOWS")), names);
        if (c.refusal == 0) {
            EXPECT_EQ(cause, std::nullopt);
            EXPECT_EQ(ReadFile(dir_ / "store/real.ini"), "new");
        } else {
            ASSERT_TRUE(cause.has_value());
            EXPECT_NE(cause->find(std::strerror(c.refusal)), std::string::npos) << *cause;
        }
        for (const auto& name : names) ::unlink(C("WINDOWS/" + name).c_str());
        ::unlink((dir_ / "store/real.ini").c_str());
    }
}

TEST_F(WriteTest, ReadOnlyFolderAsAnotherUser) {
    auto body = [](const std::string& dir) {
        fotest::ScopedEnv env("WINEPREFIX", dir + "/prefix");
        const auto cause = fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", "new");
        ASSERT_TRUE(cause.has_value());
        EXPECT_NE(cause->find(std::strerror(EACCES)), std::string::npos) << *cause;
        const auto fresh = fileops::ReplaceWholeFile("C:\\WINDOWS\\New.ini", "new");
        ASSERT_TRUE(fresh.has_value());
        EXPECT_NE(fresh->find(std::strerror(EACCES)), std::string::npos) << *fresh;
    };
    if (fotest::OtherUser::IsChild())
        return fotest::OtherUser::RunBody(body);
    WriteFile(C("WINDOWS/Win.ini"), "old\r\n");
    fotest::Chmod(C("WINDOWS/Win.ini"), 0666);  // the file could be written, its folder not
    fotest::Chmod(C("WINDOWS"), 0555);
    fotest::OtherUser::Run(dir_.path(), body);
    EXPECT_EQ(ReadFile(C("WINDOWS/Win.ini")), "old\r\n");
    EXPECT_EQ(ListDir(C("WINDOWS")), std::vector<std::string>{"Win.ini"});
}

TEST_F(WriteTest, ReadOnlyFileAsAnotherUser) {
    auto body = [](const std::string& dir) {
        fotest::ScopedEnv env("WINEPREFIX", dir + "/prefix");
        const auto cause = fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", "new");
        ASSERT_TRUE(cause.has_value());
        EXPECT_NE(cause->find(std::strerror(EACCES)), std::string::npos) << *cause;
    };
    if (fotest::OtherUser::IsChild())
        return fotest::OtherUser::RunBody(body);
    WriteFile(C("WINDOWS/Win.ini"), "old\r\n");
    fotest::Chmod(C("WINDOWS/Win.ini"), 0444);
    fotest::Chmod(C("WINDOWS"), 0777);  // the folder could take a temporary file
    fotest::OtherUser::Run(dir_.path(), body);
    EXPECT_EQ(ReadFile(C("WINDOWS/Win.ini")), "old\r\n");
    EXPECT_EQ(fotest::ModeOf(C("WINDOWS/Win.ini")), 0444u);
    EXPECT_EQ(ListDir(C("WINDOWS")), std::vector<std::string>{"Win.ini"});
}

TEST_F(WriteTest, UnsearchableFolderAsAnotherUser) {
    auto body = [](const std::string& dir) {
        fotest::ScopedEnv env("WINEPREFIX", dir + "/prefix");
        const auto cause = fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", "new");
        ASSERT_TRUE(cause.has_value());
        EXPECT_NE(cause->find(std::strerror(EACCES)), std::string::npos) << *cause;
    };
    if (fotest::OtherUser::IsChild())
        return fotest::OtherUser::RunBody(body);
    WriteFile(C("WINDOWS/Win.ini"), "old");
    fotest::Chmod(C("WINDOWS"), 0000);
    fotest::OtherUser::Run(dir_.path(), body);
    fotest::Chmod(C("WINDOWS"), 0755);
    EXPECT_EQ(ReadFile(C("WINDOWS/Win.ini")), "old");
    EXPECT_EQ(ListDir(C("WINDOWS")), std::vector<std::string>{"Win.ini"});
}

}  // namespace
