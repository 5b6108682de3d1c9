// Wine-style drive emulation: a Windows path completed, then looked up name by name on
// disk; see wine_drive.h for the rules. As in Wine, the path text (wine_path_text), the
// letter case (wine_letter_case) and the prefix and its drives (wine_prefix) are kept apart
// from the lookup. Built off Windows only.
#include "fileops/wine_drive.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "base/codepage/cp1252.h"
#include "fileops/wine_path_text.h"
#include "fileops/wine_prefix.h"

namespace fileops {
namespace {

// MAX_PATH: the ANSI calls hold at most 260 characters (Wine's and Windows' static
// conversion buffer of 261 wide characters, the NUL included).
constexpr std::size_t kMaxAnsiPath = 260;

// The stored name in folder that the name stands for: the exact name when something
// exists under it, else the first by bytes of the existing entries equal to it regardless
// of case. With orLink, when none exists, a link of that name that leads nowhere (dangling,
// or a loop) is taken the same way: it is the entry a save must go through or refuse, not
// a free name. On failure err is the errno that explains it (ENOENT: nothing has the name).
std::optional<std::string> FindInFolder(const std::string& folder, const std::string& name,
                                        int* err, bool orLink = false) {
    struct stat st;
    if (StatOk(folder + "/" + name, &st))
        return name;
    const int exactError = errno;
    std::optional<std::string> link;
    if (orLink && ::lstat((folder + "/" + name).c_str(), &st) == 0)
        link = name;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        *err = errno;
        return std::nullopt;
    }
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string candidate = entry->d_name;
        if (candidate == "." || candidate == "..")
            continue;
        if (!NamesEqualIgnoringCase(candidate, name))
            continue;
        if (!StatOk(folder + "/" + candidate, &st)) {
            if (orLink && link != name && ::lstat((folder + "/" + candidate).c_str(), &st) == 0 &&
                (!link || candidate < *link))
                link = candidate;
            continue;
        }
        if (!best || candidate < *best)
            best = candidate;
    }
    ::closedir(dir);
    if (!best)
        best = link;
    if (!best)
        *err = exactError;
    return best;
}

enum class Completion { Ok, Invalid, Unreachable };

// RtlGetFullPathName_U and RtlDosPathNameToNtPathName_U: the full, normalised form of an
// ANSI Windows path.
Completion Complete(std::string_view p, const std::string& prefix, FullPath* out) {
    // The drives' folders, looked up only for a path relative to the current directory or a
    // Unix one: a path from a drive's root, the common case, needs no call on each drive.
    std::optional<DriveIds> found;
    auto drives = [&]() -> const DriveIds& {
        if (!found)
            found.emplace(prefix);
        return *found;
    };
    auto driveRelative = [&](char drive, const std::string& tail) {
        // "x:" + tail where tail is relative: on the current directory when it is on x:.
        const CurrentDir cd = CurrentDirectory(drives());
        const std::string base = cd.drive == drive ? cd.rest : std::string();
        return std::string{drive, ':'} + base + "\\" + tail;
    };

    std::string full;
    if (p.size() >= 2 && IsSeparator(p[0]) && IsSeparator(p[1])) {
        if (p.substr(0, 4) == "\\\\?\\") {
            // Handed to the system as it is: names are split at backslashes only, and
            // ".", "..", empty names and slashes name nothing.
            const std::string rest = codepage::ToUtf8(p.substr(4));
            if (!SplitDrivePath(rest, out))
                return Completion::Unreachable;
            out->devicePath = true;
            for (const auto& name : out->names)
                if (name.empty() || name == "." || name == ".." ||
                    name.find('/') != std::string::npos)
                    return Completion::Unreachable;
            return Completion::Ok;
        }
        if ((p.size() >= 4 && (p[2] == '.' || p[2] == '?') && IsSeparator(p[3]))) {
            // A device path ("\\.\x:\..."): normalised, then it must name a drive path.
            std::string device = "\\\\.\\" + codepage::ToUtf8(p.substr(4));
            CollapsePath(device, 4);
            if (!SplitDrivePath(device.substr(4), out))
                return Completion::Unreachable;
            out->devicePath = true;
            return Completion::Ok;
        }
        return Completion::Unreachable;  // UNC: "\\server\share\..."
    }
    if (IsSeparator(p[0])) {
        const std::string utf8 = codepage::ToUtf8(p);
        std::string rest;
        if (p[0] == '/') {
            // A Unix path inside the folder of a drive stands for that place on the drive.
            if (const char drive = FindDriveRoot(utf8, drives(), &rest))
                full = std::string{drive, ':', '\\'} + rest;
        }
        if (full.empty())
            full = std::string{CurrentDirectory(drives()).drive, ':'} + utf8;
    } else if (p.size() >= 2 && p[1] == ':') {
        const char drive = AsciiLower(p[0]);
        if (p.size() >= 3 && IsSeparator(p[2]))
            full = std::string{drive, ':'} + codepage::ToUtf8(p.substr(2));
        else
            full = driveRelative(drive, codepage::ToUtf8(p.substr(2)));
    } else {
        const CurrentDir cd = CurrentDirectory(drives());
        full = std::string{cd.drive, ':'} + cd.rest + "\\" + codepage::ToUtf8(p);
    }
    CollapsePath(full, 3);
    if (!SplitDrivePath(full, out))
        return Completion::Unreachable;
    return Completion::Ok;
}

}  // namespace

Resolution Resolve(std::string_view windowsPath, Purpose purpose) {
    Resolution result;  // Invalid
    if (windowsPath.empty() || windowsPath.size() > kMaxAnsiPath)
        return result;
    if (windowsPath.find_first_not_of(' ') == std::string_view::npos)
        return result;  // Wine refuses " "

    auto notFound = [&](int error) {
        result.outcome = Resolution::Outcome::NotFound;
        result.error = error;
        return result;
    };
    const auto prefix = PrefixDir();
    if (!prefix)
        return notFound(ENOENT);
    FullPath full;
    switch (Complete(windowsPath, *prefix, &full)) {
        case Completion::Invalid:
            return result;
        case Completion::Unreachable:
            return notFound(ENOENT);
        case Completion::Ok:
            break;
    }
    for (const auto& name : full.names)
        if (HasInvalidCharacter(name))
            return result;

    // A DOS device name at the end of an ordinary path stands for the device, provided
    // the folder before it exists (Wine: "C:\WINDOWS\NUL" exists, "C:\Missing\NUL" not).
    const bool device = !full.devicePath && !full.trailingSeparator && !full.names.empty() &&
                        IsDosDeviceName(full.names.back());

    const auto root = DriveRoot(full.drive);
    if (!root)
        return notFound(ENOENT);
    std::string current = *root;
    const std::size_t walk = full.names.size() - (device ? 1 : 0);
    for (std::size_t i = 0; i < walk; ++i) {
        int error = ENOENT;
        const bool last = i + 1 == full.names.size();
        const auto stored =
            FindInFolder(current, full.names[i], &error, last && purpose == Purpose::Writing);
        if (!stored) {
            if (last && purpose == Purpose::Writing && error == ENOENT && !full.trailingSeparator) {
                result.outcome = Resolution::Outcome::NewName;
                result.native = current + "/" + full.names[i];
                return result;
            }
            return notFound(error);
        }
        current += "/" + *stored;
    }
    if (device) {
        if (!IsFolder(current))
            return notFound(ENOTDIR);
        result.outcome = Resolution::Outcome::Device;
        result.native = current + "/" + full.names.back();
        return result;
    }
    // A separator after the last name asks for a folder.
    if (full.trailingSeparator && !IsFolder(current))
        return notFound(ENOTDIR);
    result.outcome = Resolution::Outcome::Found;
    result.native = current;
    return result;
}

}  // namespace fileops
