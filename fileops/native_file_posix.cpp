// Safe replacing of whole files off Windows, on native paths found through the
// Wine-style drive emulation.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <string>

#include "fileops/native_file.h"
#include "fileops/wine_drive.h"

namespace fileops {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 30;

std::string ErrorText(int error) {
    return std::strerror(error);
}

// A failure as the save command shows it: the system's words first, then what was being
// done ("No space left on device (writing the new content)").
std::string Cause(int error, const std::string& doing) {
    return ErrorText(error) + " (" + doing + ")";
}

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

}  // namespace

std::optional<std::string> ReplaceNativeFile(const std::string& nativePath,
                                             std::string_view bytes) {
    const SigxfszIgnored sigxfszIgnored;
    int error = 0;

    // The file that is really replaced: a link is written through to its target.
    bool exists = false;
    std::string target;
    struct stat lst;
    if (::lstat(nativePath.c_str(), &lst) == 0) {
        if (S_ISLNK(lst.st_mode)) {
            if (auto resolved = RealPath(nativePath, &error)) {
                target = *resolved;
                exists = true;
            } else if (error != ENOENT) {
                return Cause(error, "following the link to the file");
            }
            // A dangling link is replaced by the new file.
        } else {
            target = nativePath;
            exists = true;
        }
    } else if (errno != ENOENT) {
        return Cause(errno, "examining the file");
    }

    struct stat st {};
    if (exists) {
        if (::stat(target.c_str(), &st) != 0)
            return Cause(errno, "examining the file");
        if (S_ISDIR(st.st_mode))
            return "The path names a folder, not a file";
        if (!S_ISREG(st.st_mode))
            return "The path names a pipe, socket or device, not a file";
        // A file that may not be written is not replaced behind its back.
        const int probe = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (probe < 0)
            return Cause(errno, "opening the file for writing");
        ::close(probe);
    } else {
        const auto folder = RealPath(FolderOf(nativePath), &error);
        if (!folder)
            return Cause(error, "finding the folder of the file");
        target = (*folder == "/" ? "" : *folder) + "/" + NameOf(nativePath);
    }

    const std::string folder = FolderOf(target);
    std::string temp = folder + "/." + NameOf(target).substr(0, 100) + ".cmsave-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return Cause(errno, "creating a temporary file in the folder of the file");

    bool open = true;
    auto fail = [&](const std::string& what, int err) -> std::optional<std::string> {
        if (open)
            ::close(fd);
        ::unlink(temp.c_str());
        return Cause(err, what);
    };

    if (exists) {
        // Owner and group where the system lets us, then the permission bits.
        if ((st.st_uid != ::geteuid() || st.st_gid != ::getegid()) &&
            ::fchown(fd, st.st_uid, st.st_gid) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), st.st_gid);
        if (::fchmod(fd, st.st_mode & 07777) != 0)
            return fail("giving the new file the old permissions", errno);
    } else if (::fchmod(fd, 0666 & ~CurrentUmask()) != 0) {
        return fail("setting the permissions of the new file", errno);
    }

    if (!WriteAll(fd, bytes, &error))
        return fail("writing the new content", error);
    if (::fsync(fd) != 0)
        return fail("flushing the new content to disk", errno);
    open = false;
    if (::close(fd) != 0)
        return fail("finishing the new content", errno);
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return fail("putting the new file in place", errno);

    // Make the rename itself durable. It has happened whatever this says, so a failure
    // here is not reported as a failed save.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

std::optional<std::string> ReplaceWholeFile(const std::string& windowsPath,
                                            std::string_view bytes) {
    const auto found = wine_drive::Resolve(windowsPath, wine_drive::Purpose::Writing);
    switch (found.outcome) {
        case wine_drive::Resolution::Outcome::Found:
        case wine_drive::Resolution::Outcome::NewName:
            return ReplaceNativeFile(found.native, bytes);
        case wine_drive::Resolution::Outcome::NotFound:
            return Cause(found.error != 0 ? found.error : ENOENT, "finding the folder of the file");
        case wine_drive::Resolution::Outcome::Device:
            return std::string("The path names a device, not a file");
        case wine_drive::Resolution::Outcome::Invalid:
            break;
    }
    return std::string("The path is not a valid Windows file name");
}

}  // namespace fileops
