// A save keeps what the file system keeps beside the bytes: Wine's DOS attributes
// (user.DOSATTRIB), other extended attributes, access lists, and the attributes of a FAT
// directory entry; where the DOS attributes cannot come along, the file stays as it was.
#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
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

using Attributes = std::map<std::string, std::string>;

Attributes AttributesOf(const std::string& path) {
    Attributes out;
    char names[4096];
    const ssize_t size = ::listxattr(path.c_str(), names, sizeof names);
    for (ssize_t at = 0; at < size; at += static_cast<ssize_t>(std::strlen(names + at)) + 1) {
        char value[4096];
        const ssize_t n = ::getxattr(path.c_str(), names + at, value, sizeof value);
        out[names + at] = n < 0 ? "<unreadable>" : std::string(value, static_cast<std::size_t>(n));
    }
    return out;
}

void SetAttribute(const std::string& path, const std::string& name, const std::string& value) {
    if (::setxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0) != 0)
        ADD_FAILURE() << "setxattr " << name << " on " << path << ": " << std::strerror(errno);
}

// An access list as the kernel stores it: version 2, then (tag, permissions, id) entries.
std::string AccessList(std::uint32_t namedUser) {
    std::string blob;
    auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) blob.push_back(static_cast<char>(value >> (8 * i)));
    };
    put(2, 4);
    const std::uint32_t none = 0xFFFFFFFF;
    const std::uint32_t entries[][3] = {
        {0x01, 6, none}, {0x02, 4, namedUser}, {0x04, 4, none}, {0x10, 4, none}, {0x20, 0, none}};
    for (const auto& e : entries) put(e[0], 2), put(e[1], 2), put(e[2], 4);
    return blob;
}

// On tmpfs (/dev/shm) and on the test folder's file system (ext4 on CI): the file with
// Wine's attribute, a binary user attribute, an access list and (as root) a security
// label keeps every one; a file without an access list does not take the folder's default.
TEST(SaveAttributes, ExtendedAttributesAreKept) {
    for (const char* base : {"/dev/shm", ""}) {
        if (*base != '\0' && ::access(base, W_OK) != 0) {
            std::cout << "[   NOTE   ] no " << base << " here: only the test folder is checked\n";
            continue;
        }
        std::optional<fotest::ScopedEnv> tmp;
        if (*base != '\0')
            tmp.emplace("TMPDIR", base);
        fotest::TempDir dir("attributes");
        SCOPED_TRACE(*base != '\0' ? "on tmpfs" : "in the test folder (ext4 on CI)");
        const auto prefix = fotest::MakePrefix(dir.path());
        fotest::ScopedEnv env("WINEPREFIX", prefix.dir);
        const std::string windows = prefix.driveC + "/WINDOWS";
        fotest::MakeDir(windows);
        WriteFile(windows + "/WIN.INI", "old");
        WriteFile(windows + "/SYSTEM.INI", "old");
        if (::setxattr((windows + "/WIN.INI").c_str(), "user.DOSATTRIB", "0x2", 3, 0) != 0 &&
            errno == ENOTSUP) {
            std::cout << "[   NOTE   ] " << dir.path() << " takes no user attributes (tmpfs "
                      << "before Linux 6.6): only the test folder is checked\n";
            continue;
        }
        SetAttribute(windows + "/WIN.INI", "user.binary", std::string("\0\x01\xff", 3));
        SetAttribute(windows + "/WIN.INI", "system.posix_acl_access", AccessList(65534));
        if (::geteuid() == 0)
            SetAttribute(windows + "/WIN.INI", "security.cindermoor", "label");
        SetAttribute(windows, "system.posix_acl_default", AccessList(65534));
        for (const char* name : {"WIN.INI", "SYSTEM.INI"}) {
            const std::string path = windows + "/" + name;
            const Attributes before = AttributesOf(path);
            const mode_t mode = fotest::ModeOf(path);
            EXPECT_EQ(fileops::ReplaceWholeFile("C:\\WINDOWS\\" + std::string(name), "new"),
                      std::nullopt);
            EXPECT_EQ(ReadFile(path), "new");
            EXPECT_EQ(AttributesOf(path), before) << name;
            EXPECT_EQ(fotest::ModeOf(path), mode) << name;
        }
        EXPECT_EQ(AttributesOf(windows + "/WIN.INI").count("user.DOSATTRIB"), 1u);
    }
}

// A user who may write the file but not set a security label: the label is the system's
// to give, the DOS attributes still come along. The owner's bits (r--) would forbid
// setting user attributes if they were given before the attributes.
TEST(SaveAttributes, SecurityLabelIsLeftToTheSystemForAnotherUser) {
    auto body = [](const std::string& dir) {
        fotest::ScopedEnv env("WINEPREFIX", dir + "/prefix");
        EXPECT_EQ(fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", "new"), std::nullopt);
    };
    if (fotest::OtherUser::IsChild())
        return fotest::OtherUser::RunBody(body);
    if (::geteuid() != 0)
        GTEST_SKIP() << "Only root can give the file a security label; CI runs as root.";
    fotest::TempDir dir("label");
    const auto prefix = fotest::MakePrefix(dir.path());
    const std::string file = prefix.driveC + "/WINDOWS/Win.ini";
    fotest::MakeDir(prefix.driveC + "/WINDOWS", 0777);
    WriteFile(file, "old");
    fotest::Chmod(file, 0466);
    SetAttribute(file, "user.DOSATTRIB", "0x22");
    SetAttribute(file, "security.cindermoor", "label");
    fotest::OtherUser::Run(dir.path(), body);
    EXPECT_EQ(ReadFile(file), "new");
    EXPECT_EQ(AttributesOf(file), (Attributes{{"user.DOSATTRIB", "0x22"}}));
    EXPECT_EQ(fotest::ModeOf(file), 0466u);
}

// A tmpfs with room for few inodes also has little room for user attributes (they are
// counted against the inodes' space): the old file's large DOSATTRIB fits, the new file's
// copy does not. The save is refused and the file keeps its content and attribute.
TEST(SaveAttributes, SaveIsRefusedWhenTheDosAttributesCannotBeCarried) {
    fotest::TempDir dir("noroom");
    const auto prefix = fotest::MakePrefix(dir.path());
    fotest::ScopedEnv env("WINEPREFIX", prefix.dir);
    const std::string file = prefix.driveC + "/WINDOWS/Win.ini";
    const std::string dosattrib(2800, 'a');
    const auto outcome = fotest::InChild([&](std::string& report) {
        if (!fotest::PrivateMounts(&report))
            return fotest::kCannotRun;
        if (::mount("tmpfs", prefix.driveC.c_str(), "tmpfs", 0, "size=1m,nr_inodes=8") != 0) {
            report = std::string("mount tmpfs: ") + std::strerror(errno);
            return fotest::kCannotRun;
        }
        ::mkdir((prefix.driveC + "/WINDOWS").c_str(), 0755);
        WriteFile(file, "old");
        if (::setxattr(file.c_str(), "user.DOSATTRIB", dosattrib.data(), dosattrib.size(), 0)) {
            report = std::string("this tmpfs takes no user attribute: ") + std::strerror(errno);
            return fotest::kCannotRun;
        }
        report = fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", "new").value_or("saved");
        if (ListDir(prefix.driveC + "/WINDOWS") != std::vector<std::string>{"Win.ini"} ||
            ReadFile(file) != "old" || AttributesOf(file)["user.DOSATTRIB"] != dosattrib)
            return 1;
        return 0;
    });
    if (outcome.exited && outcome.code == fotest::kCannotRun)
        GTEST_SKIP() << "Cannot set up the small tmpfs: " << outcome.text;
    ASSERT_TRUE(outcome.exited && outcome.code == 0)
        << "the file or its folder changed; the save said: " << outcome.text;
    EXPECT_NE(outcome.text.find(std::strerror(ENOSPC)), std::string::npos) << outcome.text;
    EXPECT_NE(outcome.text.find("user.DOSATTRIB"), std::string::npos) << outcome.text;
}

bool KernelHasVfat() {
    std::ifstream filesystems("/proc/filesystems");
    std::string line;
    while (std::getline(filesystems, line))
        if (line.find("\tvfat") != std::string::npos)
            return true;
    return false;
}

// A FAT disk keeps the DOS attributes in the directory entry; a save keeps them. Runs as
// root on a loop-mounted image made by mkfs.vfat (dosfstools).
TEST(SaveAttributes, FatAttributesAreKeptOnVfat) {
    if (!KernelHasVfat() && std::system("modprobe -q vfat 2>/dev/null") != 0 && !KernelHasVfat())
        GTEST_SKIP() << "This kernel offers no vfat file system (not in /proc/filesystems, and "
                        "no module to load), so a FAT disk cannot be mounted here.";
    fotest::TempDir dir("vfat");
    const auto prefix = fotest::MakePrefix(dir.path());
    fotest::ScopedEnv env("WINEPREFIX", prefix.dir);
    const std::string image = dir / "disk.img";
    const std::string make =
        "truncate -s 4M '" + image + "' && mkfs.vfat -n WINME '" + image + "' >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0)
        GTEST_SKIP() << "Cannot make a FAT image: mkfs.vfat (dosfstools) is missing or failed.";
    const __u32 wanted = ATTR_HIDDEN | ATTR_SYS | ATTR_ARCH;
    const auto outcome = fotest::InChild([&](std::string& report) {
        if (!fotest::PrivateMounts(&report))
            return fotest::kCannotRun;
        const std::string mount = "mount -o loop '" + image + "' '" + prefix.driveC + "' 2>&1";
        if (std::system(mount.c_str()) != 0) {
            report = "mount -o loop failed";
            return fotest::kCannotRun;
        }
        ::mkdir((prefix.driveC + "/WINDOWS").c_str(), 0755);
        const std::string file = prefix.driveC + "/WINDOWS/WIN.INI";
        WriteFile(file, "old");
        __u32 attributes = wanted;
        const int fd = ::open(file.c_str(), O_RDONLY);
        const bool set = ::ioctl(fd, FAT_IOCTL_SET_ATTRIBUTES, &attributes) == 0;
        ::close(fd);
        if (!set) {
            report = std::string("cannot set the attributes: ") + std::strerror(errno);
            return 1;
        }
        report = fileops::ReplaceWholeFile("C:\\WINDOWS\\Win.ini", "new").value_or("");
        const int after = ::open(file.c_str(), O_RDONLY);
        attributes = 0;
        ::ioctl(after, FAT_IOCTL_GET_ATTRIBUTES, &attributes);
        ::close(after);
        report += "; attributes after the save: " + std::to_string(attributes);
        return ReadFile(file) == "new" && attributes == wanted ? 0 : 1;
    });
    if (outcome.exited && outcome.code == fotest::kCannotRun)
        GTEST_SKIP() << "Cannot mount the FAT image: " << outcome.text;
    EXPECT_TRUE(outcome.exited && outcome.code == 0)
        << outcome.text << " (wanted " << wanted << ")";
}

}  // namespace
