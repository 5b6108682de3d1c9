// Whole-file reading and safe replacing on Windows, with the ANSI Win32 file calls.
#include <string>

#include "fileops/file_services.h"
#include "fileops/replace_in_place_win32.h"
#include "fileops/win32_file_handle.h"

namespace fileops {
namespace {

constexpr DWORD kChunk = DWORD{1} << 30;

ReadResult ReadFailure(std::string cause) {
    ReadResult result;
    result.cause = std::move(cause);
    return result;
}

// The folder part of a path, as a folder that GetTempFileNameA accepts.
std::string FolderOf(const std::string& path) {
    const auto sep = path.find_last_of("\\/");
    if (sep == std::string::npos)
        return ".";
    std::string folder = path.substr(0, sep);
    if (folder.empty() || (folder.size() == 2 && folder[1] == ':'))
        folder += '\\';
    return folder;
}

// The final path of a file reached through a link, in the DOS form where it has one.
bool FinalPath(const std::string& path, std::string* out, DWORD* error) {
    // Present from Vista on; links that need it are not made by earlier systems.
    using FinalPathCall = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
    const auto finalPathOf = KernelCall<FinalPathCall>("GetFinalPathNameByHandleA");
    if (!finalPathOf) {
        *error = ERROR_CALL_NOT_IMPLEMENTED;
        return false;
    }
    Handle h(CreateFileA(path.c_str(), 0, ShareAll(), nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr));
    if (!h.Valid()) {
        *error = GetLastError();
        return false;
    }
    std::string buffer(32768, '\0');
    const DWORD n = finalPathOf(h.Get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0 || n >= buffer.size()) {
        *error = n == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
        return false;
    }
    buffer.resize(n);
    if (buffer.rfind("\\\\?\\", 0) == 0 && buffer.size() >= 7 && buffer[5] == ':' &&
        buffer[6] == '\\')
        buffer.erase(0, 4);
    *out = buffer;
    return true;
}

bool WriteAll(HANDLE h, std::string_view bytes, DWORD* error) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const DWORD want = left < kChunk ? static_cast<DWORD>(left) : kChunk;
        DWORD written = 0;
        if (!WriteFile(h, data, want, &written, nullptr)) {
            *error = GetLastError();
            return false;
        }
        if (written == 0) {
            *error = ERROR_WRITE_FAULT;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

}  // namespace

ReadResult ReadWholeFile(const std::string& windowsPath, const TextRoom& room) {
    const DWORD attrs = GetFileAttributesA(windowsPath.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return ReadFailure("The path names a folder, not a file");
    // No access or lock restriction asked for: others may read and write meanwhile.
    Handle h(CreateFileA(windowsPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.Valid())
        return ReadFailure(ErrorText(GetLastError()));
    if (GetFileType(h.Get()) != FILE_TYPE_DISK)
        return ReadFailure("Not a regular file (a pipe or device)");
    DWORD sizeHigh = 0;
    SetLastError(NO_ERROR);  // a size whose low part looks like the failure value is no failure
    const DWORD sizeLow = GetFileSize(h.Get(), &sizeHigh);
    if (sizeLow == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return ReadFailure(ErrorText(GetLastError()));
    const unsigned long long size = (static_cast<unsigned long long>(sizeHigh) << 32) | sizeLow;
    // The text box of Windows 95, 98 and Me would show the first part only, and a save
    // would then cut the file short.
    if (OnWindows9x() && size > kWin9xTextBoxLimit) {
        return ReadFailure("The file is " + std::to_string(size) + " bytes long, more than the " +
                           std::to_string(kWin9xTextBoxLimit) +
                           " bytes that the text box of Windows 98 and Me can hold");
    }
    if (size != static_cast<std::size_t>(size))
        return ReadFailure(ErrorText(ERROR_NOT_ENOUGH_MEMORY));

    // The reported size is only a hint: a file may hold less or more by the time it is read,
    // so the end is where ReadFile gives no more bytes.
    ReadResult result;
    try {
        result.bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::exception&) {
        return ReadFailure(ErrorText(ERROR_NOT_ENOUGH_MEMORY));
    }
    std::size_t got = 0;
    for (;;) {
        DWORD n = 0;
        if (got < result.bytes.size()) {
            const std::size_t left = result.bytes.size() - got;
            const DWORD want = left < kChunk ? static_cast<DWORD>(left) : kChunk;
            if (!ReadFile(h.Get(), result.bytes.data() + got, want, &n, nullptr))
                return ReadFailure(ErrorText(GetLastError()));
        } else {
            // Past the reported size, in small pieces: a buffer grown ahead for the last,
            // empty read would double the memory a large file takes.
            char more[16 * 1024];
            if (!ReadFile(h.Get(), more, sizeof more, &n, nullptr))
                return ReadFailure(ErrorText(GetLastError()));
            try {
                result.bytes.append(more, n);
            } catch (const std::exception&) {
                return ReadFailure(ErrorText(ERROR_NOT_ENOUGH_MEMORY));
            }
        }
        if (n == 0)
            break;
        got += n;
        if (OnWindows9x() && got > kWin9xTextBoxLimit) {
            return ReadFailure("The file holds at least " + std::to_string(got) +
                               " bytes, more than the " + std::to_string(kWin9xTextBoxLimit) +
                               " bytes that the text box of Windows 98 and Me can hold");
        }
    }
    result.bytes.resize(got);
    if (room.Measure(result.bytes) > room.capacity) {
        ReadResult tooLarge;
        tooLarge.tooLarge = true;
        tooLarge.size = result.bytes.size();
        return tooLarge;
    }
    result.size = result.bytes.size();
    result.ok = true;
    return result;
}

std::optional<std::string> ReplaceWholeFile(const std::string& windowsPath, std::string_view bytes,
                                            std::string* oldContentAt) {
    std::string unasked;
    if (oldContentAt == nullptr)
        oldContentAt = &unasked;
    oldContentAt->clear();
    std::string target = windowsPath;
    DWORD attrs = GetFileAttributesA(target.c_str());
    const bool exists = attrs != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            return Cause(error, "finding the folder of the file");
    } else {
        if ((attrs & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            // Written through: the file that the link leads to is replaced, not the link.
            DWORD error = 0;
            if (!FinalPath(windowsPath, &target, &error))
                return Cause(error, "following the link to the file");
            attrs = GetFileAttributesA(target.c_str());
            if (attrs == INVALID_FILE_ATTRIBUTES)
                return Cause(GetLastError(), "examining the file");
        }
        if ((attrs & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return std::string("The path names a folder, not a file");
        // A read-only file is reported, not silently made writable.
        if ((attrs & FILE_ATTRIBUTE_READONLY) != 0)
            return std::string("The file is read-only");
        Handle probe(CreateFileA(target.c_str(), GENERIC_WRITE, ShareAll(), nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.Valid())
            return Cause(GetLastError(), "opening the file for writing");
        // Replaced under the name it is stored by, which a name typed in another letter
        // case would otherwise take.
        target = WithStoredName(target);
    }

    const std::string folder = FolderOf(target);
    char temp[MAX_PATH];
    if (GetTempFileNameA(folder.c_str(), "cms", 0, temp) == 0)
        return Cause(GetLastError(), "creating a temporary file in the folder of the file");
    auto fail = [&](const std::string& what, DWORD error) -> std::optional<std::string> {
        DeleteFileA(temp);
        return Cause(error, what);
    };

    {
        Handle out(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out.Valid())
            return fail("opening the temporary file", GetLastError());
        DWORD error = 0;
        if (!WriteAll(out.Get(), bytes, &error)) {
            out.Close();
            return fail("writing the new content", error);
        }
        if (!FlushFileBuffers(out.Get())) {
            error = GetLastError();
            out.Close();
            return fail("flushing the new content to disk", error);
        }
        if (!out.Close())
            return fail("finishing the new content", GetLastError());
    }

    if (!exists) {
        if (!MoveToFreeName(temp, target))
            return fail("putting the new file in place", GetLastError());
        return std::nullopt;
    }

    ReplaceOutcome replaced = PutInPlace(target, temp, folder, attrs);
    if (!replaced.ok) {
        *oldContentAt = replaced.oldContentAt;
        return replaced.cause;
    }

    // Hidden and system (and the archive flag) stay as they were.
    constexpr DWORD kKept = kKeptAttributes;
    const DWORD now = GetFileAttributesA(target.c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & kKept) != (attrs & kKept)) {
        DWORD wanted = (now & ~kKept & ~FILE_ATTRIBUTE_NORMAL) | (attrs & kKept);
        if (wanted == 0)
            wanted = FILE_ATTRIBUTE_NORMAL;
        SetFileAttributesA(target.c_str(), wanted);
    }
    return std::nullopt;
}

}  // namespace fileops
