// A save killed at any moment leaves the file whole, old or new, and what it leaves behind
// goes at the next save of that file, and nothing else does.
#include <dirent.h>
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "child.h"
#include "fileops/file_services.h"
#include "support.h"

namespace {

using fotest::ListDir;
using fotest::ReadFile;
using fotest::WriteFile;

class SaveKillTest : public fotest::DriveTest {
  protected:
    SaveKillTest() : DriveTest("kill") {}
};

// Makes the kernel refuse unnamed files (open with O_TMPFILE) as file systems without
// them do, so that the save takes its named temporary file.
bool RefuseUnnamedFiles() {
    constexpr unsigned int kFlagsLow =
        offsetof(struct seccomp_data, args[2]) + (__BYTE_ORDER == __BIG_ENDIAN ? 4 : 0);
    struct sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, kFlagsLow),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, __O_TMPFILE & ~O_DIRECTORY, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EOPNOTSUPP),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    struct sock_fprog program = {static_cast<unsigned short>(std::size(filter)), filter};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// The size of the file that process pid has open in folder under another name than
// except, or -1 while it has none.
long long SizeOfFileBeingWritten(pid_t pid, const std::string& folder, const std::string& except) {
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    long long size = -1;
    for (const auto& fd : ListDir(fds)) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink((fds + "/" + fd).c_str(), target, sizeof target - 1);
        if (n <= 0)
            continue;
        const std::string path(target, static_cast<std::size_t>(n));
        struct stat st;
        if (path.rfind(folder + "/", 0) == 0 && path != except &&
            ::stat((fds + "/" + fd).c_str(), &st) == 0 && S_ISREG(st.st_mode))
            size = st.st_size;
    }
    return size;
}

// A child saves 64 MiB through the file services and is killed with SIGKILL when its new
// file holds half, or all, of the content; with the kernel's unnamed files and without.
TEST_F(SaveKillTest, KilledSaveLeavesTheFileWholeAndTheNextSaveLeavesNothing) {
    const std::string old = "[windows]\r\nload=\r\n";
    const std::string big(64 << 20, 'n');
    const auto half = static_cast<long long>(big.size() / 2);
    char real[PATH_MAX];
    ASSERT_NE(::realpath(C("WINDOWS").c_str(), real), nullptr);
    const std::string folder = real;
    for (const bool unnamed : {true, false}) {
        for (const long long killAt : {half, static_cast<long long>(big.size())}) {
            SCOPED_TRACE(std::string(unnamed ? "unnamed" : "named") +
                         " temporary file, killed at " + std::to_string(killAt) + " bytes");
            std::string now;
            fotest::ChildOutcome outcome;
            // On a busy machine the kill may come after the save ended; that run is repeated.
            for (int run = 0; run < 5 && (run == 0 || (killAt == half && now == big)); ++run) {
                WriteFile(C("WINDOWS/Win.ini"), old);
                fotest::Child child([&](std::string& report) {
                    if (!unnamed && !RefuseUnnamedFiles()) {
                        report = std::string("seccomp: ") + std::strerror(errno);
                        return fotest::kCannotRun;
                    }
                    report =
                        fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", big).value_or("saved");
                    return 0;
                });
                while (SizeOfFileBeingWritten(child.pid(), folder, folder + "/Win.ini") < killAt &&
                       child.Running()) {
                    ::usleep(100);
                }
                ::kill(child.pid(), SIGKILL);
                outcome = child.Wait();
                if (outcome.exited && outcome.code == fotest::kCannotRun)
                    GTEST_SKIP() << outcome.text;
                now = ReadFile(C("WINDOWS/Win.ini"));
                ASSERT_TRUE(now == old || now == big)
                    << "the file holds " << now.size() << " bytes";
            }
            if (killAt == half) {
                ASSERT_TRUE(now == old) << "the kill never came before the end of the save";
                // Where the system has unnamed files, nothing is left even now.
                EXPECT_EQ(ListDir(C("WINDOWS")).size(), unnamed ? 1u : 2u) << outcome.text;
            }
            ASSERT_EQ(fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", "next"), std::nullopt);
            EXPECT_EQ(ListDir(C("WINDOWS")), std::vector<std::string>{"Win.ini"});
            EXPECT_EQ(ReadFile(C("WINDOWS/Win.ini")), "next");
        }
    }
}

// What older versions and killed saves left (named as they name it, a regular file of this
// user) goes at the next save of that file; everything else that looks like it stays.
TEST_F(SaveKillTest, OnlyLeftoversOfThisFileGo) {
    const std::string p = C("WINDOWS/.Win.ini.cmsave-");
    WriteFile(C("WINDOWS/Win.ini"), "old");
    const std::vector<std::string> gone = {p + "Ab12Cd", p + "000000"};
    for (const auto& path : gone) WriteFile(path, "leftover");
    std::vector<std::string> kept = {
        p + "Ab12C",      p + "Ab12Cd7", p + "Ab_2Cd", C("WINDOWS/.System.ini.cmsave-Ab12Cd"),
        p + "Folder",     p + "Link12",  p + "Live12", p + "TwoLks",
        C("WINDOWS/keep")};
    for (const auto& path : kept) WriteFile(path, "keep");
    fotest::RemoveTree(p + "Folder");
    fotest::MakeDir(p + "Folder");
    ::unlink((p + "Link12").c_str());
    fotest::Symlink("keep", p + "Link12");
    ASSERT_EQ(::link((p + "TwoLks").c_str(), C("WINDOWS/second link").c_str()), 0);
    // A save under way in another process holds its lock.
    const int live = ::open((p + "Live12").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    if (::geteuid() == 0) {
        WriteFile(p + "Other1", "another user's");
        ASSERT_EQ(::chown((p + "Other1").c_str(), 65534, 65534), 0);
        kept.push_back(p + "Other1");
    }

    ASSERT_EQ(fileops::ReplaceWholeFile("C:\\WINDOWS\\WIN.INI", "new"), std::nullopt);
    ::close(live);
    for (const auto& path : gone) EXPECT_FALSE(fotest::Exists(path)) << path;
    for (const auto& path : kept) EXPECT_TRUE(fotest::Exists(path)) << path;
    EXPECT_EQ(ReadFile(C("WINDOWS/keep")), "keep");
    EXPECT_EQ(ReadFile(C("WINDOWS/Win.ini")), "new");
    EXPECT_EQ(ListDir(C("WINDOWS")).size(), kept.size() + 2) << "Win.ini and the second link";
}

}  // namespace
