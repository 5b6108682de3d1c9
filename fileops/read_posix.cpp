// Whole-file reading off Windows, on native paths found through the Wine-style drive
// emulation.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "base/memory/large_pages.h"
#include "fileops/file_services.h"
#include "fileops/wine_drive.h"

namespace fileops {
namespace {

// Small enough that a piece is still in the cache when it is copied on.
constexpr std::size_t kPiece = std::size_t{1} << 20;

// The most a byte of the ANSI code page takes in any text box (three, as UTF-8).
constexpr std::uint64_t kMostUnitsPerByte = 3;

ReadResult ReadFailure(std::string cause) {
    ReadResult result;
    result.cause = std::move(cause);
    return result;
}

ReadResult TooLarge(std::uint64_t size, bool atLeast = false) {
    ReadResult result;
    result.tooLarge = true;
    result.sizeIsAtLeast = atLeast;
    result.size = size;
    return result;
}

}  // namespace

ReadResult ReadNativeFile(const std::string& nativePath, const TextRoom& room) {
    // O_NONBLOCK: opening a pipe or device must not wait; only regular files are read.
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return ReadFailure(std::strerror(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat st;
    if (::fstat(fd, &st) != 0)
        return ReadFailure(std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        return ReadFailure(std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode))
        return ReadFailure("Not a regular file (a pipe, socket or device)");
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);

    // The reported size is only a hint: pseudo and network file systems may report less
    // (or 0) and still hand out more, so the end is where read() returns 0. The buffer is
    // reserved, not filled: its pages are first touched by the bytes that land there, and
    // a file refused part-way costs nothing for the part not read.
    const auto hint = static_cast<std::uint64_t>(std::max<off_t>(st.st_size, 0));
    if (hint > room.capacity)
        return TooLarge(hint);
    ReadResult result;
    if (hint >= result.bytes.max_size())
        throw std::bad_alloc();
    result.bytes.reserve(static_cast<std::size_t>(hint));
    memory::AdviseLargePages(result.bytes);
    const auto piece = std::make_unique_for_overwrite<char[]>(kPiece);
    // Nothing is measured while even three units a byte would fit: measuring starts, over
    // what came so far, once the text might not fit.
    std::uint64_t taken = 0;
    std::size_t measured = 0;
    for (;;) {
        const ssize_t n = ::read(fd, piece.get(), kPiece);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return ReadFailure(std::strerror(errno));
        }
        if (n == 0)
            break;
        result.bytes.append(piece.get(), static_cast<std::size_t>(n));
        const std::uint64_t got = result.bytes.size();
        const std::uint64_t claimed = std::max(hint, got);
        if (claimed <= room.capacity / kMostUnitsPerByte)
            continue;
        taken += room.Measure(std::string_view(result.bytes).substr(measured));
        measured = result.bytes.size();
        // Refused as soon as the text cannot fit: what was read, and at least one for
        // each byte the file still claims to hold.
        if (taken + (claimed - got) > room.capacity)
            return TooLarge(claimed, got > hint);
    }
    result.size = result.bytes.size();
    result.ok = true;
    return result;
}

ReadResult ReadWholeFile(const std::string& windowsPath, const TextRoom& room) {
    const auto found = fileops::Resolve(windowsPath, fileops::Purpose::Existing);
    switch (found.outcome) {
        case fileops::Resolution::Outcome::Found:
        case fileops::Resolution::Outcome::NewName:
            return ReadNativeFile(found.native, room);
        case fileops::Resolution::Outcome::NotFound:
            return ReadFailure(std::strerror(found.error != 0 ? found.error : ENOENT));
        case fileops::Resolution::Outcome::Device:
            return ReadFailure("The path names a device, not a file");
        case fileops::Resolution::Outcome::Invalid:
            break;
    }
    return ReadFailure("The path is not a valid Windows file name");
}

}  // namespace fileops
