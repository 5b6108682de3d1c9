// Whole-file reading off Windows, on native paths found through the Wine-style drive
// emulation (the replacing is in replace_posix.cpp).
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

ReadResult ReadFailure(std::string cause) {
    ReadResult result;
    result.cause = std::move(cause);
    return result;
}

}  // namespace

ReadResult ReadNativeFile(const std::string& nativePath) {
    // O_NONBLOCK: opening a pipe or device must not wait; only regular files are read.
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return ReadFailure(ErrorText(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat st;
    if (::fstat(fd, &st) != 0)
        return ReadFailure(ErrorText(errno));
    if (S_ISDIR(st.st_mode))
        return ReadFailure(ErrorText(EISDIR));
    if (!S_ISREG(st.st_mode))
        return ReadFailure("Not a regular file (a pipe, socket or device)");
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);

    const auto size = static_cast<unsigned long long>(st.st_size);
    ReadResult result;
    try {
        if (size > result.bytes.max_size())
            return ReadFailure(ErrorText(EFBIG));
        result.bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return ReadFailure(ErrorText(ENOMEM));
    } catch (const std::length_error&) {
        return ReadFailure(ErrorText(EFBIG));
    }
    std::size_t got = 0;
    while (got < result.bytes.size()) {
        const ssize_t n =
            ::read(fd, result.bytes.data() + got, std::min(result.bytes.size() - got, kChunk));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return ReadFailure(ErrorText(errno));
        }
        if (n == 0) {
            return ReadFailure("The file ended after " + std::to_string(got) + " of its " +
                               std::to_string(size) + " bytes");
        }
        got += static_cast<std::size_t>(n);
    }
    result.ok = true;
    return result;
}

ReadResult ReadWholeFile(const std::string& windowsPath) {
    const auto found = wine_drive::Resolve(windowsPath, wine_drive::Purpose::Existing);
    switch (found.outcome) {
        case wine_drive::Resolution::Outcome::Found:
        case wine_drive::Resolution::Outcome::NewName:
            return ReadNativeFile(found.native);
        case wine_drive::Resolution::Outcome::NotFound:
            return ReadFailure(ErrorText(found.error != 0 ? found.error : ENOENT));
        case wine_drive::Resolution::Outcome::Device:
            return ReadFailure("The path names a device, not a file");
        case wine_drive::Resolution::Outcome::Invalid:
            break;
    }
    return ReadFailure("The path is not a valid Windows file name");
}

}  // namespace fileops
