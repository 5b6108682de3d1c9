// The attributes a save carries from the old file to the new one; see save_posix.h.
#include <linux/magic.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/statfs.h>
#include <sys/xattr.h>

#include <cerrno>
#include <string>
#include <vector>

#include "fileops/save_posix.h"

namespace fileops {
namespace {

constexpr char kAccessAcl[] = "system.posix_acl_access";

// Wine's DOS attributes and every other user attribute are the owner's data; the access
// list says who may use the file. Losing one of them silently changes the file.
bool MustCarry(const std::string& name) {
    return name.rfind("user.", 0) == 0 || name == kAccessAcl;
}

// How the system refuses an attribute that this user may not set, or that this file
// system does not take (a security label is the policy's to give a new file).
bool Refused(int error) {
    return error == EPERM || error == EACCES || error == ENOTSUP || error == EINVAL;
}

// Asks for a size, then fills a buffer of that size; goes on while the size changes.
template <typename Call>
ssize_t ReadSized(std::vector<char>* out, Call call) {
    for (;;) {
        const ssize_t size = call(nullptr, 0);
        if (size <= 0)
            return size;
        out->resize(static_cast<std::size_t>(size));
        const ssize_t got = call(out->data(), out->size());
        if (got >= 0 || errno != ERANGE) {
            if (got >= 0)
                out->resize(static_cast<std::size_t>(got));
            return got;
        }
    }
}

std::optional<std::string> CarryOne(int from, int to, const std::string& name) {
    std::vector<char> value;
    const ssize_t got = ReadSized(&value, [&](char* buffer, std::size_t size) {
        return ::fgetxattr(from, name.c_str(), buffer, size);
    });
    if (got < 0) {
        if (errno == ENODATA || (!MustCarry(name) && Refused(errno)))
            return std::nullopt;
        return Cause(errno, "reading the attribute " + name + " of the file");
    }
    if (::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0 &&
        (MustCarry(name) || !Refused(errno)))
        return Cause(errno, "carrying the attribute " + name + " over to the new file");
    return std::nullopt;
}

}  // namespace

std::optional<std::string> CarryExtendedAttributes(int from, int to) {
    std::vector<char> list;
    const ssize_t got = ReadSized(
        &list, [&](char* buffer, std::size_t size) { return ::flistxattr(from, buffer, size); });
    if (got < 0 && errno != ENOTSUP)
        return Cause(errno, "listing the extended attributes of the file");

    bool hasAcl = false;
    for (std::size_t at = 0; at < list.size();) {
        const std::string name(list.data() + at);
        at += name.size() + 1;
        if (name.empty())
            continue;
        hasAcl = hasAcl || name == kAccessAcl;
        if (auto cause = CarryOne(from, to, name))
            return cause;
    }
    // A new file takes the folder's default access list; the old file had none.
    if (!hasAcl && ::fgetxattr(to, kAccessAcl, nullptr, 0) >= 0 &&
        ::fremovexattr(to, kAccessAcl) != 0)
        return Cause(errno, "removing the access list that the folder gave the new file");
    return std::nullopt;
}

std::optional<std::string> CarryFatAttributes(int from, int to) {
    struct statfs fs;
    if (::fstatfs(from, &fs) != 0)
        return Cause(errno, "examining the file system of the file");
    if (fs.f_type != MSDOS_SUPER_MAGIC)
        return std::nullopt;
    __u32 attributes = 0;
    if (::ioctl(from, FAT_IOCTL_GET_ATTRIBUTES, &attributes) != 0)
        return Cause(errno, "reading the DOS attributes of the file");
    __u32 now = 0;
    if (::ioctl(to, FAT_IOCTL_GET_ATTRIBUTES, &now) == 0 && now == attributes)
        return std::nullopt;
    if (::ioctl(to, FAT_IOCTL_SET_ATTRIBUTES, &attributes) != 0)
        return Cause(errno, "giving the new file the DOS attributes of the file");
    return std::nullopt;
}

}  // namespace fileops
