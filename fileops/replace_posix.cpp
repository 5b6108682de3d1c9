// Safe replacing of a whole file off Windows, on native paths found through the Wine-style
// drive emulation.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "fileops/file_services.h"
#include "fileops/save_posix.h"
#include "fileops/wine_drive.h"

namespace fileops {

std::string Cause(int error, const std::string& doing) {
    return std::string(std::strerror(error)) + " (" + doing + ")";
}

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 30;
// As many links in a row as the system follows (MAXSYMLINKS).
constexpr int kMaxLinks = 40;

// While a file is being replaced, SIGXFSZ is ignored, so that a write beyond the
// process's file-size limit (RLIMIT_FSIZE) fails with EFBIG and is reported instead of
// ending the program. The former disposition comes back afterwards.
class SigxfszIgnored {
  public:
    SigxfszIgnored() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        saved_ = ::sigaction(SIGXFSZ, &ignore, &old_) == 0;
    }
    ~SigxfszIgnored() {
        if (saved_)
            ::sigaction(SIGXFSZ, &old_, nullptr);
    }
    SigxfszIgnored(const SigxfszIgnored&) = delete;
    SigxfszIgnored& operator=(const SigxfszIgnored&) = delete;

  private:
    struct sigaction old_ {};
    bool saved_ = false;
};

struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
};

// The last close of a replaced file frees its blocks and drops its pages from the cache, 10 ms
// for 50 MB: done on a thread of its own, so that a save returns once the new content is in
// place. Where no thread can be had, here.
void CloseReplaced(Fd& old) {
    const int fd = std::exchange(old.fd, -1);
    try {
        std::thread([fd] { ::close(fd); }).detach();
    } catch (const std::system_error&) {
        ::close(fd);
    }
}

// The process's umask, read without changing it where /proc tells it.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<std::string> RealPath(const std::string& path, int* error) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        *error = errno;
        return std::nullopt;
    }
    std::string out = resolved;
    std::free(resolved);
    return out;
}

// Writes all bytes, going on after partial writes and interruptions.
bool WriteAll(int fd, std::string_view bytes, int* error) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, std::min(left, kChunk));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *error = errno;
            return false;
        }
        if (n == 0) {
            *error = EIO;
            return false;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// The file that a save really writes: the path itself, or where its link leads.
struct Target {
    std::string path;  // with the real folder, the last name as stored
    bool exists = false;
};

// A new file in the real folder of path, under its last name.
std::optional<std::string> NewFileAt(const std::string& path, Target* out) {
    const std::string name = NameOf(path);
    if (name.empty() || name == "." || name == "..")
        return Cause(ENOENT, "following the link to the file");
    int error = 0;
    const auto folder = RealPath(FolderOf(path), &error);
    if (!folder)
        return Cause(error, "finding the folder of the file");
    out->path = (*folder == "/" ? "" : *folder) + "/" + name;
    out->exists = false;
    return std::nullopt;
}

// A link that leads nowhere is written through as the system's open would: the file is
// created under the name the last link of the chain gives, in its folder. A loop, or a
// chain longer than the system follows, is refused.
std::optional<std::string> ThroughDanglingLink(std::string link, Target* out) {
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::string next(4096, '\0');
        const ssize_t n = ::readlink(link.c_str(), next.data(), next.size());
        if (n < 0 || static_cast<std::size_t>(n) >= next.size())
            return Cause(n < 0 ? errno : ENAMETOOLONG, "following the link to the file");
        next.resize(static_cast<std::size_t>(n));
        if (next.empty() || next[0] != '/')
            next = FolderOf(link) + "/" + next;
        struct stat st;
        if (::lstat(next.c_str(), &st) != 0) {
            if (errno != ENOENT)
                return Cause(errno, "following the link to the file");
            return NewFileAt(next, out);
        }
        if (!S_ISLNK(st.st_mode))
            return Cause(ENOENT, "following the link to the file");
        link = next;
    }
    return Cause(ELOOP, "following the link to the file");
}

std::optional<std::string> FindTarget(const std::string& nativePath, Target* out) {
    struct stat lst;
    if (::lstat(nativePath.c_str(), &lst) != 0) {
        if (errno != ENOENT)
            return Cause(errno, "examining the file");
        return NewFileAt(nativePath, out);
    }
    if (!S_ISLNK(lst.st_mode)) {
        out->path = nativePath;
        out->exists = true;
        return std::nullopt;
    }
    // A link is written through; the link itself stays.
    int error = 0;
    if (auto resolved = RealPath(nativePath, &error)) {
        out->path = *resolved;
        out->exists = true;
        return std::nullopt;
    }
    if (error != ENOENT)
        return Cause(error, "following the link to the file");
    return ThroughDanglingLink(nativePath, out);
}

// Opens the file to be replaced: a file that may not be written is not replaced behind
// its back. The descriptor serves to read its attributes.
std::optional<std::string> OpenOld(const std::string& path, Fd* old, struct stat* st) {
    if (::stat(path.c_str(), st) != 0)
        return Cause(errno, "examining the file");
    if (S_ISDIR(st->st_mode))
        return std::string("The path names a folder, not a file");
    if (!S_ISREG(st->st_mode))
        return std::string("The path names a pipe, socket or device, not a file");
    old->fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (old->fd < 0)
        return Cause(errno, "opening the file for writing");
    if (::fstat(old->fd, st) != 0)
        return Cause(errno, "examining the file");
    if (!S_ISREG(st->st_mode))
        return std::string("The path names a pipe, socket or device, not a file");
    return std::nullopt;
}

// Owner, group, attributes and permission bits of the old file, in the order that keeps
// each: a change of owner clears set-id bits, and user attributes need a writable file.
std::optional<std::string> CarryMetadata(int from, const struct stat& st, int to) {
    if ((st.st_uid != ::geteuid() || st.st_gid != ::getegid()) &&
        ::fchown(to, st.st_uid, st.st_gid) != 0)
        (void)::fchown(to, static_cast<uid_t>(-1), st.st_gid);
    if (auto cause = CarryExtendedAttributes(from, to))
        return cause;
    if (::fchmod(to, st.st_mode & 07777) != 0)
        return Cause(errno, "giving the new file the old permissions");
    return CarryFatAttributes(from, to);
}

}  // namespace

std::optional<std::string> ReplaceNativeFile(const std::string& nativePath,
                                             std::string_view bytes) {
    const SigxfszIgnored sigxfszIgnored;
    Target target;
    if (auto cause = FindTarget(nativePath, &target))
        return cause;
    Fd old;
    struct stat st {};
    if (target.exists) {
        if (auto cause = OpenOld(target.path, &old, &st))
            return cause;
    }

    const std::string folder = FolderOf(target.path);
    RemoveLeftovers(folder, NameOf(target.path));
    TempFile temp;
    if (auto cause = temp.Create(folder, NameOf(target.path)))
        return cause;
    int error = 0;
    if (!WriteAll(temp.fd(), bytes, &error))
        return Cause(error, "writing the new content");
    if (target.exists) {
        if (auto cause = CarryMetadata(old.fd, st, temp.fd()))
            return cause;
    } else if (::fchmod(temp.fd(), 0666 & ~CurrentUmask()) != 0) {
        return Cause(errno, "setting the permissions of the new file");
    }
    if (::fsync(temp.fd()) != 0)
        return Cause(errno, "flushing the new content to disk");
    if (auto cause = temp.PutInPlace(target.path))
        return cause;

    // Make the rename itself durable. It has happened whatever this says, so a failure
    // here is not reported as a failed save.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    if (target.exists)
        CloseReplaced(old);
    return std::nullopt;
}

std::optional<std::string> ReplaceWholeFile(const std::string& windowsPath, std::string_view bytes,
                                            std::string* oldContentAt) {
    // A rename replaces in one step: the old content is never under another name.
    if (oldContentAt != nullptr)
        oldContentAt->clear();
    const auto found = fileops::Resolve(windowsPath, fileops::Purpose::Writing);
    switch (found.outcome) {
        case fileops::Resolution::Outcome::Found:
        case fileops::Resolution::Outcome::NewName:
            return ReplaceNativeFile(found.native, bytes);
        case fileops::Resolution::Outcome::NotFound:
            return Cause(found.error != 0 ? found.error : ENOENT, "finding the folder of the file");
        case fileops::Resolution::Outcome::Device:
            return std::string("The path names a device, not a file");
        case fileops::Resolution::Outcome::Invalid:
            break;
    }
    return std::string("The path is not a valid Windows file name");
}

}  // namespace fileops
