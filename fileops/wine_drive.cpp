// Wine-style drive emulation; see wine_drive.h for the rules. Built off Windows only.
#include "fileops/wine_drive.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/codepage/cp1252.h"

namespace wine_drive {
namespace {

// MAX_PATH: the ANSI calls hold at most 260 characters (Wine's and Windows' static
// conversion buffer of 261 wide characters, the NUL included).
constexpr std::size_t kMaxAnsiPath = 260;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StatOk(const std::string& path, struct stat* st) {
    return ::stat(path.c_str(), st) == 0;
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return StatOk(path, &st) && S_ISDIR(st.st_mode);
}

// ---- Letter case -----------------------------------------------------------------------

// UTF-8 to code points; a byte that does not start a well-formed sequence becomes a value
// above U+10FFFF, which equals no character of a Windows name.
std::u32string Decode(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, cp = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, cp = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, cp = b & 0x07, min = 0x10000;
        } else {
            out.push_back(0x110000 + b);
            ++i;
            continue;
        }
        bool ok = i + static_cast<std::size_t>(extra) < s.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(0x110000 + b);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += 1 + static_cast<std::size_t>(extra);
    }
    return out;
}

// The simple upper-case mapping that Windows and Wine use to compare names, for the
// scripts that matter here: Latin (ASCII, Latin-1, Latin Extended-A, the f with hook of
// Windows-1252), Greek and Cyrillic.
char32_t Upcase(char32_t c) {
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
    if (c == 0xB5)
        return 0x39C;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 0x20;
    if (c == 0xFF)
        return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x131)
            return 'I';
        if (c == 0x17F)
            return 'S';
        if (c == 0x130 || c == 0x138 || c == 0x149 || c == 0x178)
            return c;
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
            return (c % 2 == 0) ? c - 1 : c;
        return (c % 2 == 1) ? c - 1 : c;
    }
    if (c == 0x192)
        return 0x191;
    if (c == 0x3C2)
        return 0x3A3;
    if (c >= 0x3B1 && c <= 0x3CB)
        return c - 0x20;
    if (c >= 0x430 && c <= 0x44F)
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    return c;
}

// ---- Path text -------------------------------------------------------------------------

// Is this last name of a path a DOS device (NUL, CON, AUX, PRN, COM1-9, LPT1-9, CONIN$,
// CONOUT$), also with an extension, trailing spaces or a trailing colon ("nul .txt",
// "NUL:")? As in RtlIsDosDeviceName_U.
bool IsDosDeviceName(std::string_view name) {
    if (!name.empty() && name.back() == ':')
        name.remove_suffix(1);
    const auto dot = name.find('.');
    if (dot != std::string_view::npos) {
        name = name.substr(0, dot);
        if (!name.empty() && name.back() == ':')
            name.remove_suffix(1);
    }
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    std::string lower;
    for (const char c : name) lower.push_back(AsciiLower(c));
    if (lower == "aux" || lower == "con" || lower == "nul" || lower == "prn" || lower == "conin$" ||
        lower == "conout$")
        return true;
    return lower.size() == 4 && (lower.rfind("com", 0) == 0 || lower.rfind("lpt", 0) == 0) &&
           lower[3] > '0' && lower[3] <= '9';
}

// The normalisation of RtlGetFullPathName_U (Wine's collapse_path) on a full path
// "X:\...", mark being the length of the part that stays ("X:\" = 3).
void CollapsePath(std::string& path, std::size_t mark) {
    for (char& c : path)
        if (c == '/')
            c = '\\';

    // A run of backslashes counts as one.
    const std::size_t keep = std::max<std::size_t>(1, mark);
    if (path.size() > keep) {
        std::string out = path.substr(0, keep);
        for (std::size_t i = keep; i < path.size(); ++i)
            if (path[i] != '\\' || out.back() != '\\')
                out.push_back(path[i]);
        path = std::move(out);
    }

    auto at = [&](std::size_t i) { return i < path.size() ? path[i] : '\0'; };
    std::size_t p = mark;
    while (p < path.size()) {
        if (path[p] == '.') {
            if (at(p + 1) == '\\') {  // ".\" inside the path
                path.erase(p, 2);
                continue;
            }
            if (at(p + 1) == '\0') {  // final "."
                if (p > mark)
                    --p;
                path.erase(p);
                continue;
            }
            if (at(p + 1) == '.') {
                if (at(p + 2) == '\\') {  // "..\" inside the path
                    const std::size_t next = p + 3;
                    if (p > mark) {
                        --p;
                        while (p > mark && path[p - 1] != '\\') --p;
                    }
                    path.erase(p, next - p);
                    continue;
                }
                if (at(p + 2) == '\0') {  // final ".."
                    if (p > mark) {
                        --p;
                        while (p > mark && path[p - 1] != '\\') --p;
                        if (p > mark)
                            --p;
                    }
                    path.erase(p);
                    continue;
                }
            }
        }
        while (p < path.size() && path[p] != '\\') ++p;
        if (p < path.size()) {
            // One trailing dot of a folder name inside the path goes.
            if (p > mark && path[p - 1] == '.')
                path.erase(p - 1, 1);
            else
                ++p;
        }
    }
    // Trailing spaces and dots of the path go.
    p = path.size();
    while (p > mark && (path[p - 1] == ' ' || path[p - 1] == '.')) --p;
    path.erase(p);
}

bool HasInvalidCharacter(std::string_view name) {
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32)
            return true;
        switch (c) {
            case '*':
            case '?':
            case '<':
            case '>':
            case '|':
            case '"':
                return true;
            default:
                break;
        }
    }
    return false;
}

// ---- Drives and the current directory --------------------------------------------------

// The identity of each drive's folder, to tell which drive a native folder is the root of.
struct DriveIds {
    struct Id {
        bool present = false;
        dev_t dev = 0;
        ino_t ino = 0;
    };
    Id drive[26];

    explicit DriveIds(const std::string& prefix) {
        for (int i = 0; i < 26; ++i) {
            struct stat st;
            const std::string link = prefix + "/dosdevices/" + static_cast<char>('a' + i) + ":";
            if (StatOk(link, &st))
                drive[i] = {true, st.st_dev, st.st_ino};
        }
    }
    // The drive letter whose folder is the native folder, or 0.
    char Of(const std::string& folder) const {
        struct stat st;
        if (!StatOk(folder, &st) || !S_ISDIR(st.st_mode))
            return 0;
        for (int i = 0; i < 26; ++i)
            if (drive[i].present && drive[i].dev == st.st_dev && drive[i].ino == st.st_ino)
                return static_cast<char>('a' + i);
        return 0;
    }
};

// Wine's remove_last_component: the length of path without its last name, where ".."
// names count as climbing.
std::size_t RemoveLastComponent(const std::string& path, std::size_t len) {
    int level = 0;
    while (level < 1) {
        std::size_t prev = len;
        if (prev <= 1)
            break;
        while (prev > 1 && !IsSeparator(path[prev - 1])) --prev;
        const std::string_view name(path.data() + prev, len - prev);
        if (name != ".") {
            if (name == "..")
                --level;
            else
                ++level;
        }
        while (prev > 1 && IsSeparator(path[prev - 1])) --prev;
        len = prev;
    }
    return len;
}

// Wine's find_drive_root: for a Unix path, the deepest folder on it that is the folder of
// a drive. Returns the drive letter and sets rest to the part of path after that folder.
char FindDriveRoot(const std::string& path, const DriveIds& drives, std::string* rest) {
    std::size_t len = path.size();
    while (len > 1 && IsSeparator(path[len - 1])) --len;
    std::string native = path;
    for (char& c : native)
        if (c == '\\')
            c = '/';
    for (;;) {
        if (const char drive = drives.Of(native.substr(0, len))) {
            *rest = path.substr(len == 1 ? 0 : len);
            return drive;
        }
        if (len <= 1)
            break;
        len = RemoveLastComponent(path, len);
    }
    return 0;
}

std::string WorkingDirectory() {
    std::vector<char> buf(4096);
    while (::getcwd(buf.data(), buf.size()) == nullptr) {
        if (errno != ERANGE)
            return {};
        buf.resize(buf.size() * 2);
    }
    return buf.data();
}

struct CurrentDir {
    char drive = 'c';
    std::string rest;  // "" for the root, else "\name\name" (native names, UTF-8)
};

// The DOS form of the working directory, as Wine finds it: the deepest folder on the way
// up that is the folder of a drive names the drive. When the working directory lies on no
// drive, Wine starts the program in the Windows directory; so does the emulation.
CurrentDir CurrentDirectory(const DriveIds& drives) {
    const std::string cwd = WorkingDirectory();
    std::string rest;
    if (!cwd.empty() && cwd[0] == '/') {
        if (const char drive = FindDriveRoot(cwd, drives, &rest)) {
            CurrentDir cd;
            cd.drive = drive;
            cd.rest = rest;
            for (char& c : cd.rest)
                if (c == '/')
                    c = '\\';
            while (!cd.rest.empty() && cd.rest.back() == '\\') cd.rest.pop_back();
            return cd;
        }
    }
    CurrentDir cd;
    if (auto name = WindowsFolderName())
        cd.rest = "\\" + *name;
    return cd;
}

// ---- Lookup ----------------------------------------------------------------------------

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

// A full path after normalisation: the drive, the names below its root (UTF-8), and
// whether a separator ended the path.
struct FullPath {
    char drive = 0;
    std::vector<std::string> names;
    bool trailingSeparator = false;
    bool devicePath = false;  // "\\?\" and "\\.\" paths: no DOS device names
};

// Splits "x:\a\b\" into a FullPath (one trailing separator sets trailingSeparator; any
// other empty name stays in names); false when it is not of that form.
bool SplitDrivePath(const std::string& full, FullPath* out) {
    if (full.size() < 3 || full[1] != ':' || full[2] != '\\')
        return false;
    const char drive = AsciiLower(full[0]);
    if (drive < 'a' || drive > 'z')
        return false;
    out->drive = drive;
    out->names.clear();
    std::size_t i = 3;
    while (i < full.size()) {
        const std::size_t end = std::min(full.find('\\', i), full.size());
        out->names.emplace_back(full.substr(i, end - i));
        i = end + 1;
    }
    out->trailingSeparator = full.size() > 3 && full.back() == '\\';
    return true;
}

enum class Completion { Ok, Invalid, Unreachable };

// RtlGetFullPathName_U and RtlDosPathNameToNtPathName_U: the full, normalised form of an
// ANSI Windows path.
Completion Complete(std::string_view p, const DriveIds& drives, FullPath* out) {
    auto driveRelative = [&](char drive, const std::string& tail) {
        // "x:" + tail where tail is relative: on the current directory when it is on x:.
        const CurrentDir cd = CurrentDirectory(drives);
        const std::string base = cd.drive == drive ? cd.rest : std::string();
        return std::string{drive, ':'} + base + "\\" + tail;
    };

    std::string full;
    if (p.size() >= 2 && IsSeparator(p[0]) && IsSeparator(p[1])) {
        if (p.substr(0, 4) == "\\\\?\\") {
            // Handed to the system as it is: names are split at backslashes only, and
            // ".", "..", empty names and slashes name nothing.
            const std::string rest = cp1252::ToUtf8(p.substr(4));
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
            std::string device = "\\\\.\\" + cp1252::ToUtf8(p.substr(4));
            CollapsePath(device, 4);
            if (!SplitDrivePath(device.substr(4), out))
                return Completion::Unreachable;
            out->devicePath = true;
            return Completion::Ok;
        }
        return Completion::Unreachable;  // UNC: "\\server\share\..."
    }
    if (IsSeparator(p[0])) {
        const std::string utf8 = cp1252::ToUtf8(p);
        std::string rest;
        if (p[0] == '/') {
            // A Unix path inside the folder of a drive stands for that place on the drive.
            if (const char drive = FindDriveRoot(utf8, drives, &rest))
                full = std::string{drive, ':', '\\'} + rest;
        }
        if (full.empty())
            full = std::string{CurrentDirectory(drives).drive, ':'} + utf8;
    } else if (p.size() >= 2 && p[1] == ':') {
        const char drive = AsciiLower(p[0]);
        if (p.size() >= 3 && IsSeparator(p[2]))
            full = std::string{drive, ':'} + cp1252::ToUtf8(p.substr(2));
        else
            full = driveRelative(drive, cp1252::ToUtf8(p.substr(2)));
    } else {
        const CurrentDir cd = CurrentDirectory(drives);
        full = std::string{cd.drive, ':'} + cd.rest + "\\" + cp1252::ToUtf8(p);
    }
    CollapsePath(full, 3);
    if (!SplitDrivePath(full, out))
        return Completion::Unreachable;
    return Completion::Ok;
}

}  // namespace

bool NamesEqualIgnoringCase(std::string_view a, std::string_view b) {
    const std::u32string x = Decode(a);
    const std::u32string y = Decode(b);
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (Upcase(x[i]) != Upcase(y[i]))
            return false;
    return true;
}

std::optional<std::string> PrefixDir() {
    if (const char* prefix = std::getenv("WINEPREFIX")) {
        if (prefix[0] != '/')
            return std::nullopt;  // Wine refuses a relative prefix
        return std::string(prefix);
    }
    std::string home;
    if (const char* h = std::getenv("HOME"); h != nullptr && h[0] != '\0') {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        home = pw->pw_dir;
    }
    if (home.empty())
        return std::nullopt;
    return home + "/.wine";
}

std::optional<std::string> DriveRoot(char letter) {
    const char lower = AsciiLower(letter);
    if (lower < 'a' || lower > 'z')
        return std::nullopt;
    const auto prefix = PrefixDir();
    if (!prefix)
        return std::nullopt;
    std::string root = *prefix + "/dosdevices/" + lower + ":";
    if (!IsFolder(root))
        return std::nullopt;
    return root;
}

std::optional<std::string> WindowsFolderName() {
    const auto root = DriveRoot('c');
    if (!root)
        return std::nullopt;
    if (IsFolder(*root + "/windows"))
        return std::string("windows");
    DIR* dir = ::opendir(root->c_str());
    if (dir == nullptr)
        return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!NamesEqualIgnoringCase(name, "windows"))
            continue;
        if (!IsFolder(*root + "/" + name))
            continue;
        if (cp1252::FromUtf8(name).unencodable)
            continue;
        if (!best || name < *best)
            best = name;
    }
    ::closedir(dir);
    return best;
}

std::optional<std::string> WindowsDirectory() {
    const auto name = WindowsFolderName();
    if (!name)
        return std::nullopt;
    return "C:\\" + cp1252::FromUtf8(*name).bytes;
}

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
    const DriveIds drives(*prefix);

    FullPath full;
    switch (Complete(windowsPath, drives, &full)) {
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

}  // namespace wine_drive
