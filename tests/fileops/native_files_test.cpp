// Native files: read whole whatever size the file system reports, a text too large for its box
// refused as soon as known; saved byte-exact, through links, with what the file system keeps
// beside the bytes, every failure refused with the old file untouched and nothing left behind.
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>

#include <cstring>
#include <map>

#include <gtest/gtest.h>

#include "fileops/file_services.h"
#include "scratch_drive.h"
#include "support.h"

namespace {

using fileops::ReadWholeFile;
using fileops::ReplaceWholeFile;

class NativeFiles : public ::testing::Test {
  protected:
    fs::path W(const std::string& name = "") const { return drive_.WindowsDir() / name; }
    testsupport::TempDrive drive_;
};

// The kernel's pseudo files report sizes they do not hold: 0 under /proc, 4096 under /sys. A
// file larger than the room is refused before it is read.
TEST_F(NativeFiles, ReadWholeFileWhateverSizeTheFileSystemReports) {
    const fs::path link = drive_.WindowsDir() / "Hosts";
    for (const char* file : {"/sys/devices/system/cpu/online", "/proc/self/cmdline"}) {
        fs::remove(link), fs::create_symlink(file, link);
        const fileops::ReadResult read = ReadWholeFile("C:\\WINDOWS\\Hosts");
        EXPECT_TRUE(read.ok) << file << ": " << read.cause;
        EXPECT_EQ(read.bytes, testsupport::ReadBytes(file));
        EXPECT_NE(read.bytes.size(), fs::file_size(file)) << file;
    }
    // /proc/self/cmdline: reported as empty, longer than a room of 30 at three units a byte.
    const fileops::TextRoom room{30, [](std::string_view piece) { return 3 * piece.size(); }};
    const fileops::ReadResult large = ReadWholeFile("C:\\WINDOWS\\Hosts", room);
    EXPECT_TRUE(large.tooLarge && large.sizeIsAtLeast && large.size > 10) << large.size;
    EXPECT_EQ(large.bytes, "");
    // A read that fails (the process's memory at address 0) gives nothing and says why.
    fs::remove(link), fs::create_symlink("/proc/self/mem", link);
    const fileops::ReadResult failed = ReadWholeFile("C:\\WINDOWS\\Hosts");
    EXPECT_TRUE(!failed.ok && failed.bytes.empty()) << failed.cause;
    EXPECT_NE(failed.cause.find(std::strerror(EIO)), std::string::npos) << failed.cause;
    const fs::path sparse = drive_.Write("WINDOWS/Win.ini", "[windows]\r\n");
    fs::resize_file(sparse, std::uint64_t{1} << 40);  // a terabyte of holes
    const fileops::TextRoom holes{64u << 20, {}};
    const fileops::ReadResult huge = ReadWholeFile("C:\\WINDOWS\\Win.ini", holes);
    EXPECT_TRUE(huge.tooLarge && !huge.sizeIsAtLeast && huge.size == std::uint64_t{1} << 40);
    fs::resize_file(sparse, 64u << 20);
    EXPECT_TRUE(ReadWholeFile("C:\\WINDOWS\\Win.ini", holes).ok) << "exactly the room fits";
}

TEST_F(NativeFiles, SaveLinksAreWrittenThrough) {
    const struct {
        std::vector<std::pair<std::string, std::string>> links;  // name in WINDOWS, target
        int refusal;                                             // 0: written through
    } cases[] = {
        {{{"Win.ini", "../../store/real.ini"}}, 0},
        {{{"WIN.INI", "../../store/real.ini"}}, 0},  // dangling
        {{{"WIN.INI", "chain"}, {"chain", "../../store/real.ini"}}, 0},
        {{{"WIN.INI", "../../missing/real.ini"}}, ENOENT},
        {{{"WIN.INI", "WIN.INI"}}, ELOOP},
    };
    const fs::path store = drive_.DriveC() / "../store";
    fs::create_directory(store);
    for (const auto& c : cases) {
        fs::remove_all(W()), fs::create_directory(W());
        fs::remove(store / "real.ini");
        if (&c == cases) {  // the target exists, with permissions of its own
            testsupport::WriteBytes(store / "real.ini", "old");
            fs::permissions(store / "real.ini", static_cast<fs::perms>(0620));
        }
        for (const auto& [name, target] : c.links) fs::create_symlink(target, W(name));
        const Names names = ListDir(W());
        const auto cause = ReplaceWholeFile("C:\\WINDOWS\\Win.ini", "new");
        EXPECT_EQ(ListDir(W()), names) << c.links[0].second;
        if (c.refusal != 0) {
            EXPECT_NE(cause.value_or("").find(std::strerror(c.refusal)), std::string::npos);
            continue;
        }
        EXPECT_EQ(cause, std::nullopt);
        EXPECT_EQ(testsupport::ReadBytes(store / "real.ini"), "new");
        EXPECT_EQ(ListDir(store), Names{"real.ini"});
        EXPECT_EQ(fs::status(store / "real.ini").permissions(),
                  static_cast<fs::perms>(&c == cases ? 0620 : 0644));
    }
}

// The system refuses part of the write, the user attributes or the permission: each in a child
// process (a file-size limit, a small tmpfs of its own, or another user the bits apply to, who
// cannot read a file closed to all either).
TEST_F(NativeFiles, SaveFailuresLeaveTheOldFileUntouched) {
    fs::permissions(drive_.Prefix().parent_path(), fs::perms::all);
    const std::string old = "[windows]\r\nload=\r\n";
    const struct {
        int setup;
        const char* tmpfs;          // options of a tmpfs of its own on WINDOWS; none: the drive
        rlim_t sizeLimit;           // 0: none
        std::size_t attributeSize;  // of a user.DOSATTRIB on the file before the save
        mode_t folderMode, fileMode;
        int error;
    } cases[] = {
        {fotest::kPlain, nullptr, 65536, 0, 0755, 0644, EFBIG},
        {fotest::kOwnMounts, "size=64k", 0, 0, 0755, 0644, ENOSPC},
        // Few inodes, little room for attributes: a large one cannot go on.
        {fotest::kOwnMounts, "size=4m,nr_inodes=8", 0, 2800, 0755, 0644, ENOSPC},
        {fotest::kOtherUser, nullptr, 0, 0, 0555, 0666, EACCES},
        {fotest::kOtherUser, nullptr, 0, 0, 0777, 0444, EACCES},
        {fotest::kOtherUser, nullptr, 0, 0, 0755, 0000, EACCES},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        drive_.Write("WINDOWS/Win.ini", old);
        ::chmod(W("Win.ini").c_str(), c.fileMode);
        ::chmod(W().c_str(), c.folderMode);
        const auto outcome = fotest::InChild(c.setup, [&](std::string& report) {
            const struct rlimit limit { c.sizeLimit, c.sizeLimit };
            const std::string dosattrib(c.attributeSize, 'a');
            if ((c.sizeLimit != 0 && ::setrlimit(RLIMIT_FSIZE, &limit) != 0) ||
                (c.tmpfs && (::mount("tmpfs", W().c_str(), "tmpfs", 0, c.tmpfs) != 0 ||
                             drive_.Write("WINDOWS/Win.ini", old) != W("Win.ini"))) ||
                (c.attributeSize != 0 && ::setxattr(W("Win.ini").c_str(), "user.DOSATTRIB",
                                                    dosattrib.data(), dosattrib.size(), 0) != 0))
                return fotest::kCannotRun;
            const char* path = "C:\\WINDOWS\\Win.ini";
            report = ReplaceWholeFile(path, std::string(1 << 20, 'x')).value_or("saved");
            report += "; read: " + ReadWholeFile(path).cause;
            if (c.setup == fotest::kOwnMounts &&
                (ListDir(W()) != Names{"Win.ini"} || drive_.Read("WINDOWS/Win.ini") != old))
                report += "; the folder changed";
            return 0;
        });
        ::chmod(W().c_str(), 0755);
        if (outcome.code == fotest::kCannotRun)
            continue;
        EXPECT_EQ(outcome.code, 0) << outcome.text;
        EXPECT_NE(outcome.text.find(std::strerror(c.error)), std::string::npos) << outcome.text;
        EXPECT_EQ(outcome.text.find("changed"), std::string::npos) << outcome.text;
        const auto unreadable = outcome.text.find("read: " + std::string(std::strerror(EACCES)));
        EXPECT_EQ(unreadable != std::string::npos, c.fileMode == 0) << outcome.text;
        EXPECT_EQ(ListDir(W()), Names{"Win.ini"});
        EXPECT_EQ(drive_.Read("WINDOWS/Win.ini"), old);
        EXPECT_EQ(fs::status(W("Win.ini")).permissions(), static_cast<fs::perms>(c.fileMode));
    }
}

// Every descriptor a save opens is closed again, the replaced file's a moment later.
TEST_F(NativeFiles, SavesLeaveNoDescriptorOpen) {
    const auto open = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    drive_.Write("WINDOWS/Win.ini", "old");
    const auto before = open();
    for (int save = 0; save < 20; ++save)
        ASSERT_EQ(ReplaceWholeFile("C:\\WINDOWS\\Win.ini", std::to_string(save)), std::nullopt);
    for (int wait = 0; wait < 200 && open() != before; ++wait) ::usleep(10'000);
    EXPECT_EQ(open(), before);
}

std::map<std::string, std::string> AttributesOf(const fs::path& path) {
    std::map<std::string, std::string> out;
    char names[4096], value[4096];
    const ssize_t size = ::listxattr(path.c_str(), names, sizeof names);
    for (ssize_t at = 0; at < size; at += static_cast<ssize_t>(std::strlen(names + at)) + 1) {
        const ssize_t n = ::getxattr(path.c_str(), names + at, value, sizeof value);
        out[names + at] = std::string(value, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    }
    return out;
}

// An access list as the kernel stores it: version 2, then (tag, permissions, id) entries.
const std::string kAccessList(
    "\x02\0\0\0"
    "\x01\0\x06\0\xff\xff\xff\xff"
    "\x02\0\x04\0\xfe\xff\0\0"
    "\x04\0\x04\0\xff\xff\xff\xff"
    "\x10\0\x04\0\xff\xff\xff\xff"
    "\x20\0\0\0\xff\xff\xff\xff",
    44);

TEST_F(NativeFiles, SaveCarriesWhatTheFileSystemKeepsBesideTheBytes) {
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string tmpdir = oldTmp ? oldTmp : "/tmp";
    for (const std::string& tmp : {std::string("/dev/shm"), tmpdir}) {  // tmpfs, and the usual
        ::setenv("TMPDIR", tmp.c_str(), 1);
        testsupport::TempDrive drive;
        ::setenv("TMPDIR", tmpdir.c_str(), 1);
        const fs::path file = drive.Write("WINDOWS/Win.ini", "old");
        if (::setxattr(file.c_str(), "user.DOSATTRIB", "0x22", 4, 0) != 0)
            continue;  // tmpfs before Linux 6.6 takes no user attributes
        ::setxattr(file.c_str(), "user.binary", "\0\x01\xff", 3, 0);
        ::setxattr(file.c_str(), "system.posix_acl_access", kAccessList.data(), 44, 0);
        ::setxattr(drive.WindowsDir().c_str(), "system.posix_acl_default", kAccessList.data(), 44,
                   0);
        ::setxattr(file.c_str(), "security.cindermoor", "label", 5, 0);
        ::chmod(file.c_str(), 0640);
        (void)!::chown(file.c_str(), 65534, 65534);
        struct stat before = {}, after = {};
        ::stat(file.c_str(), &before);
        const auto attributes = AttributesOf(file);
        ASSERT_EQ(ReplaceWholeFile("C:\\WINDOWS\\Win.ini", "new"), std::nullopt);
        ::stat(file.c_str(), &after);
        EXPECT_EQ(testsupport::ReadBytes(file), "new");
        EXPECT_EQ(AttributesOf(file), attributes) << tmp;
        EXPECT_EQ(attributes.count("system.posix_acl_access"), 1u) << tmp;
        EXPECT_EQ(std::tie(after.st_mode, after.st_uid, after.st_gid),
                  std::tie(before.st_mode, before.st_uid, before.st_gid));
        EXPECT_EQ(ListDir(drive.WindowsDir()), Names{"Win.ini"});
    }
}

// Makes the kernel refuse unnamed files (O_TMPFILE), as some file systems do.
bool RefuseUnnamedFiles() {
    struct sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, args[2])),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, __O_TMPFILE & ~O_DIRECTORY, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EOPNOTSUPP),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    struct sock_fprog program = {static_cast<unsigned short>(std::size(filter)), filter};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// A save of 64 MiB killed once its new file holds half (an unnamed one, then a named one): the
// file is whole and old, and the next save removes what the killed one left, nothing else (a
// live save holds a lock).
TEST_F(NativeFiles, KilledSaveLeavesTheFileWholeAndTheNextSaveCleansUp) {
    const std::string old = "[windows]\r\nload=\r\n", big(64 << 20, 'n');
    for (const bool unnamed : {true, false}) {
        // On a busy machine the kill may come after the end of the save: that run again.
        fotest::ChildOutcome outcome;
        for (int run = 0; run < 5 && (run == 0 || drive_.Read("WINDOWS/Win.ini") == big); ++run) {
            drive_.Write("WINDOWS/Win.ini", old);
            outcome = fotest::InChild(
                fotest::kPlain,
                [&](std::string&) {
                    if (!unnamed && !RefuseUnnamedFiles())
                        return fotest::kCannotRun;
                    return ReplaceWholeFile("C:\\WINDOWS\\Win.ini", big) ? 1 : 0;
                },
                [&](pid_t pid) {
                    const fs::path fds = "/proc/" + std::to_string(pid) + "/fd";
                    siginfo_t info{};
                    for (bool half = false;
                         !half && ::waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
                         info.si_pid == 0;) {
                        std::error_code ec;
                        for (const auto& fd : fs::directory_iterator(fds, ec))
                            half |= fs::is_regular_file(fd, ec) &&
                                    fs::file_size(fd, ec) >= big.size() / 2 &&
                                    fs::file_size(fd, ec) != std::uintmax_t(-1);
                    }
                    ::kill(pid, SIGKILL);
                });
            const std::string now = drive_.Read("WINDOWS/Win.ini").value_or("");
            ASSERT_TRUE(now == old || now == big) << "the file holds " << now.size() << " bytes";
        }
        EXPECT_EQ(drive_.Read("WINDOWS/Win.ini"), old) << unnamed;
        EXPECT_EQ(outcome.code, -1) << "killed, not ended: " << outcome.text;
        EXPECT_EQ(ListDir(W()).size(), unnamed ? 1u : 2u) << "a named new file is left";
    }
    const Names kept = {".System.ini.cmsave-Ab12Cd", ".Win.ini.cmsave-Ab12C",
                        ".Win.ini.cmsave-Live12", ".Win.ini.cmsave-TwoLks"};
    for (const auto& name : kept) drive_.Write("WINDOWS/" + name, "keep");
    drive_.Write("WINDOWS/.Win.ini.cmsave-000000", "leftover");
    fs::create_hard_link(W(kept[3]), drive_.DriveC() / "second link");
    const int live = ::open(W(kept[2]).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    ASSERT_EQ(ReplaceWholeFile("C:\\WINDOWS\\WIN.INI", "next"), std::nullopt);
    ::close(live);
    Names expected = kept;
    expected.push_back("Win.ini");
    EXPECT_EQ(ListDir(W()), expected);
    EXPECT_EQ(drive_.Read("WINDOWS/Win.ini"), "next");
}

}  // namespace
