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

#include "toolkit/text/cp1252.h"

namespace wine_drive {
namespace {

// MAX_PATH: the ANSI calls hold at most 260 characters (Wine's and Windows' static
// conversion buffer of 261 wide characters, the NUL included).
constexpr std::size_t kMaxAnsiPath = 260;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StatOk(const std::string& path, struct stat* st) { return ::stat(path.c_str(), st) == 0; }

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
            if ((c & 0xC0) != 0x80) ok = false;
            else cp = (cp << 6) | (c & 0x3F);
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
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
    if (c == 0xB5) return 0x39C;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x131) return 'I';
        if (c == 0x17F) return 'S';
        if (c == 0x130 || c == 0x138 || c == 0x149 || c == 0x178) return c;
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
            return (c % 2 == 0) ? c - 1 : c;
        return (c % 2 == 1) ? c - 1 : c;
    }
    if (c == 0x192) return 0x191;
    if (c == 0x3C2) return 0x3A3;
    if (c >= 0x3B1 && c <= 0x3CB) return c - 0x20;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

// ---- Path text -------------------------------------------------------------------------

// RtlIsDosDeviceName_U: does the last name of the path (without extension, trailing
// colon or trailing spaces) name a DOS device?
bool IsDosDeviceName(std::string_view path) {
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return false;
    long end = static_cast<long>(path.size()) - 1;
    if (end >= 0 && path[end] == ':') --end;
    long start = end;
    for (; start >= 0; --start) {
        if (IsSeparator(path[start])) break;
        const char next = static_cast<std::size_t>(start + 1) < path.size() ? path[start + 1] : '\0';
        if (path[start] == ':' && next != '.') break;
    }
    ++start;
    const auto dot = path.find('.', static_cast<std::size_t>(start));
    if (dot != std::string_view::npos) {
        end = static_cast<long>(dot) - 1;
        if (end >= 0 && path[end] == ':') --end;
    } else {
        while (end >= 0 && path[end] == ' ') --end;
    }
    const long len = end - start + 1;
    auto is = [&](const char* word) {
        for (int k = 0; k < 3; ++k)
            if (AsciiLower(path[start + k]) != word[k]) return false;
        return true;
    };
    if (len == 3) return is("aux") || is("con") || is("nul") || is("prn");
    if (len == 4) return (is("com") || is("lpt")) && path[end] > '0' && path[end] <= '9';
    return false;
}

// The normalisation of RtlGetFullPathName_U (Wine's collapse_path) on a full path
// "X:\...", mark being the length of the part that stays ("X:\" = 3).
void CollapsePath(std::string& path, std::size_t mark) {
    for (char& c : path)
        if (c == '/') c = '\\';

    // A run of backslashes counts as one.
    const std::size_t keep = std::max<std::size_t>(1, mark);
    if (path.size() > keep) {
        std::string out = path.substr(0, keep);
        for (std::size_t i = keep; i < path.size(); ++i)
            if (path[i] != '\\' || out.back() != '\\') out.push_back(path[i]);
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
                if (p > mark) --p;
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
                        if (p > mark) --p;
                    }
                    path.erase(p);
                    continue;
                }
            }
        }
        while (p < path.size() && path[p] != '\\') ++p;
        if (p < path.size()) {
            // One trailing dot of a folder name inside the path goes.
            if (p > mark && path[p - 1] == '.') path.erase(p - 1, 1);
            else ++p;
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
        if (u < 32) return true;
        switch (c) {
            case '*': case '?': case '<': case '>': case '|': case '"': return true;
            default: break;
        }
    }
    return false;
}

// ---- Current directory -----------------------------------------------------------------

std::string WorkingDirectory() {
    std::vector<char> buf(4096);
    while (::getcwd(buf.data(), buf.size()) == nullptr) {
        if (errno != ERANGE) return {};
        buf.resize(buf.size() * 2);
    }
    return buf.data();
}

struct CurrentDir {
    char drive = 'c';
    std::string rest;  // "" for the root, else "\name\name" (native names, UTF-8)
};

// The DOS form of the working directory: the deepest folder on the way up that is the
// folder of a drive names the drive (the first letter when several drives share it).
CurrentDir CurrentDirectory(const std::string& prefix) {
    struct Id {
        bool present = false;
        dev_t dev = 0;
        ino_t ino = 0;
    };
    Id drives[26];
    for (int i = 0; i < 26; ++i) {
        struct stat st;
        const std::string link = prefix + "/dosdevices/" + static_cast<char>('a' + i) + ":";
        if (StatOk(link, &st)) drives[i] = {true, st.st_dev, st.st_ino};
    }
    const std::string cwd = WorkingDirectory();
    if (!cwd.empty() && cwd[0] == '/') {
        std::string path = cwd;
        for (;;) {
            struct stat st;
            if (StatOk(path, &st) && S_ISDIR(st.st_mode)) {
                for (int i = 0; i < 26; ++i) {
                    if (drives[i].present && drives[i].dev == st.st_dev && drives[i].ino == st.st_ino) {
                        CurrentDir cd;
                        cd.drive = static_cast<char>('a' + i);
                        cd.rest = path == "/" ? cwd : cwd.substr(path.size());
                        if (cd.rest == "/") cd.rest.clear();
                        for (char& c : cd.rest)
                            if (c == '/') c = '\\';
                        while (!cd.rest.empty() && cd.rest.back() == '\\') cd.rest.pop_back();
                        return cd;
                    }
                }
            }
            if (path == "/") break;
            const auto slash = path.rfind('/');
            path = slash == 0 ? "/" : path.substr(0, slash);
        }
    }
    // Not on any drive: Wine starts the program in the Windows directory.
    CurrentDir cd;
    if (auto name = WindowsFolderName()) cd.rest = "\\" + *name;
    return cd;
}

// ---- Lookup ----------------------------------------------------------------------------

// The stored name in folder that the name stands for: the exact name when something
// exists under it, else the first by bytes of the existing entries equal to it regardless
// of case. On failure err is the errno that explains it (ENOENT: nothing has the name).
std::optional<std::string> FindInFolder(const std::string& folder, const std::string& name, int* err) {
    struct stat st;
    if (StatOk(folder + "/" + name, &st)) return name;
    const int exactError = errno;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        *err = errno;
        return std::nullopt;
    }
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string candidate = entry->d_name;
        if (candidate == "." || candidate == "..") continue;
        if (!NamesEqualIgnoringCase(candidate, name)) continue;
        if (!StatOk(folder + "/" + candidate, &st)) continue;
        if (!best || candidate < *best) best = candidate;
    }
    ::closedir(dir);
    if (!best) *err = exactError;
    return best;
}

}  // namespace

bool NamesEqualIgnoringCase(std::string_view a, std::string_view b) {
    const std::u32string x = Decode(a);
    const std::u32string y = Decode(b);
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (Upcase(x[i]) != Upcase(y[i])) return false;
    return true;
}

std::optional<std::string> PrefixDir() {
    if (const char* prefix = std::getenv("WINEPREFIX")) {
        if (prefix[0] != '/') return std::nullopt;  // Wine refuses a relative prefix
        return std::string(prefix);
    }
    std::string home;
    if (const char* h = std::getenv("HOME"); h != nullptr && h[0] != '\0') {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        home = pw->pw_dir;
    }
    if (home.empty()) return std::nullopt;
    return home + "/.wine";
}

std::optional<std::string> DriveRoot(char letter) {
    const char lower = AsciiLower(letter);
    if (lower < 'a' || lower > 'z') return std::nullopt;
    const auto prefix = PrefixDir();
    if (!prefix) return std::nullopt;
    std::string root = *prefix + "/dosdevices/" + lower + ":";
    if (!IsFolder(root)) return std::nullopt;
    return root;
}

std::optional<std::string> WindowsFolderName() {
    const auto root = DriveRoot('c');
    if (!root) return std::nullopt;
    if (IsFolder(*root + "/windows")) return std::string("windows");
    DIR* dir = ::opendir(root->c_str());
    if (dir == nullptr) return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!NamesEqualIgnoringCase(name, "windows")) continue;
        if (!IsFolder(*root + "/" + name)) continue;
        if (cp1252::FromUtf8(name).unencodable) continue;
        if (!best || name < *best) best = name;
    }
    ::closedir(dir);
    return best;
}

std::optional<std::string> WindowsDirectory() {
    const auto name = WindowsFolderName();
    if (!name) return std::nullopt;
    return "C:\\" + cp1252::FromUtf8(*name).bytes;
}

Resolution Resolve(std::string_view windowsPath, Purpose purpose) {
    Resolution result;  // Invalid
    if (windowsPath.empty() || windowsPath.size() > kMaxAnsiPath) return result;
    if (IsDosDeviceName(windowsPath)) return result;

    auto notFound = [&](int error) {
        result.outcome = Resolution::Outcome::NotFound;
        result.error = error;
        return result;
    };
    const auto prefix = PrefixDir();
    if (!prefix) return notFound(ENOENT);

    // Complete the path to "x:\..." (names in UTF-8), as RtlGetFullPathName_U does.
    std::string full;
    const std::string_view p = windowsPath;
    if (IsSeparator(p[0])) {
        if (p.size() > 1 && IsSeparator(p[1])) return result;  // UNC or device path
        const CurrentDir cd = CurrentDirectory(*prefix);
        full = std::string{cd.drive, ':'} + cp1252::ToUtf8(p);
    } else if (p.size() >= 2 && p[1] == ':') {
        const char drive = AsciiLower(p[0]);
        if (p.size() >= 3 && IsSeparator(p[2])) {
            full = std::string{drive, ':'} + cp1252::ToUtf8(p.substr(2));
        } else {
            const CurrentDir cd = CurrentDirectory(*prefix);
            const std::string base = cd.drive == drive ? cd.rest : std::string();
            full = std::string{drive, ':'} + base + "\\" + cp1252::ToUtf8(p.substr(2));
        }
    } else {
        const CurrentDir cd = CurrentDirectory(*prefix);
        full = std::string{cd.drive, ':'} + cd.rest + "\\" + cp1252::ToUtf8(p);
    }
    CollapsePath(full, 3);

    std::vector<std::string> names;
    for (std::size_t i = 3; i < full.size();) {
        const std::size_t end = std::min(full.find('\\', i), full.size());
        if (end > i) names.emplace_back(full.substr(i, end - i));
        i = end + 1;
    }
    for (const auto& name : names)
        if (HasInvalidCharacter(name)) return result;

    const auto root = DriveRoot(full[0]);
    if (!root) return notFound(ENOENT);
    std::string current = *root;
    for (std::size_t i = 0; i < names.size(); ++i) {
        int error = ENOENT;
        const auto stored = FindInFolder(current, names[i], &error);
        if (!stored) {
            if (i + 1 == names.size() && purpose == Purpose::Writing && error == ENOENT) {
                result.outcome = Resolution::Outcome::NewName;
                result.native = current + "/" + names[i];
                return result;
            }
            return notFound(error);
        }
        current += "/" + *stored;
    }
    result.outcome = Resolution::Outcome::Found;
    result.native = current;
    return result;
}

}  // namespace wine_drive
