// The temporary file of a save and the removal of what killed saves left; see save_posix.h.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>

#include "fileops/save_posix.h"

namespace fileops {
namespace {

constexpr std::size_t kSuffixLength = 6;
constexpr int kNameTries = 100;
constexpr char kSuffixLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// Older versions named the file the same way (mkostemp), so their leftovers are found too.
std::string TempPrefix(const std::string& name) {
    std::string prefix = ".";
    prefix.append(name, 0, 100);
    return prefix + ".cmsave-";
}

// Six random letters or digits; names only need to differ, a taken one is tried again.
std::string RandomSuffix() {
    unsigned char random[kSuffixLength];
    if (::getrandom(random, sizeof random, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof random)) {
        auto seed = static_cast<unsigned long long>(
                        std::chrono::steady_clock::now().time_since_epoch().count()) ^
                    (static_cast<unsigned long long>(::getpid()) << 32);
        for (auto& byte : random) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            byte = static_cast<unsigned char>(seed >> 56);
        }
    }
    std::string suffix;
    for (const unsigned char byte : random) suffix.push_back(kSuffixLetters[byte % 62]);
    return suffix;
}

bool IsSuffix(const std::string& text) {
    if (text.size() != kSuffixLength)
        return false;
    for (const char c : text)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

// The name under which the system shows the open file fd: an unnamed file can be linked
// into a folder through it (AT_EMPTY_PATH would need a capability on older kernels).
std::string ProcPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// File systems (and kernels) that cannot make an unnamed file answer so.
bool UnnamedRefused(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

}  // namespace

TempFile::~TempFile() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!path_.empty())
        ::unlink(path_.c_str());
}

std::optional<std::string> TempFile::Create(const std::string& folder, const std::string& name) {
    folder_ = folder;
    prefix_ = TempPrefix(name);
    fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd_ >= 0 && ::access(ProcPath(fd_).c_str(), F_OK) != 0) {
        // Without /proc an unnamed file could not be given a name at the end.
        ::close(fd_);
        fd_ = -1;
        errno = EOPNOTSUPP;
    }
    if (fd_ < 0 && UnnamedRefused(errno)) {
        for (int i = 0; i < kNameTries && fd_ < 0; ++i) {
            const std::string path = folder + "/" + prefix_ + RandomSuffix();
            fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd_ >= 0)
                path_ = path;
            else if (errno != EEXIST)
                break;
        }
    }
    if (fd_ < 0)
        return Cause(errno, "creating a temporary file in the folder of the file");
    // Marks the save as under way; where locks are not kept, a concurrent save of the same
    // file may take this for a leftover, and this save then fails with a message.
    (void)::flock(fd_, LOCK_EX | LOCK_NB);
    // User attributes need a file its owner may write, whatever the umask; the final
    // permissions are set later, and checked there.
    (void)::fchmod(fd_, 0600);
    return std::nullopt;
}

std::optional<std::string> TempFile::GiveName() {
    for (int i = 0; i < kNameTries; ++i) {
        const std::string path = folder_ + "/" + prefix_ + RandomSuffix();
        if (::linkat(AT_FDCWD, ProcPath(fd_).c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) ==
            0) {
            path_ = path;
            return std::nullopt;
        }
        if (errno != EEXIST)
            break;
    }
    return Cause(errno, "giving the new file a name in the folder of the file");
}

std::optional<std::string> TempFile::PutInPlace(const std::string& target) {
    // A file can only take another's place by a name (rename replaces in one step).
    if (path_.empty()) {
        if (auto cause = GiveName())
            return cause;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        return Cause(errno, "finishing the new content");
    if (::rename(path_.c_str(), target.c_str()) != 0)
        return Cause(errno, "putting the new file in place");
    path_.clear();
    return std::nullopt;
}

void RemoveLeftovers(const std::string& folder, const std::string& name) {
    const std::string prefix = TempPrefix(name);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string entryName = entry->d_name;
        if (entryName.rfind(prefix, 0) != 0 || !IsSuffix(entryName.substr(prefix.size())))
            continue;
        // Only a regular file is opened: opening a device can act on it.
        struct stat before;
        if (::fstatat(dirFd, entryName.c_str(), &before, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(before.st_mode) || before.st_uid != ::geteuid() || before.st_nlink != 1)
            continue;
        const int fd = ::openat(dirFd, entryName.c_str(),
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat now;
        // A save under way holds its lock; a killed one held it no longer.
        if (::fstat(fd, &now) == 0 && now.st_dev == before.st_dev && now.st_ino == before.st_ino &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            (void)::unlinkat(dirFd, entryName.c_str(), 0);
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace fileops
