// The prefix and its drives for the Wine-style drive emulation; see wine_drive.h.
#include "fileops/wine_prefix.h"

#include <dirent.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <vector>

#include "base/codepage/cp1252.h"
#include "fileops/wine_drive.h"
#include "fileops/wine_path_text.h"

namespace fileops {
namespace {

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

std::string WorkingDirectory() {
    std::vector<char> buf(4096);
    while (::getcwd(buf.data(), buf.size()) == nullptr) {
        if (errno != ERANGE)
            return {};
        buf.resize(buf.size() * 2);
    }
    return buf.data();
}

}  // namespace

bool StatOk(const std::string& path, struct stat* st) {
    return ::stat(path.c_str(), st) == 0;
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return StatOk(path, &st) && S_ISDIR(st.st_mode);
}

DriveIds::DriveIds(const std::string& prefix) {
    for (int i = 0; i < 26; ++i) {
        struct stat st;
        const std::string link = prefix + "/dosdevices/" + static_cast<char>('a' + i) + ":";
        if (StatOk(link, &st))
            drive[i] = {true, st.st_dev, st.st_ino};
    }
}

char DriveIds::Of(const std::string& folder) const {
    struct stat st;
    if (!StatOk(folder, &st) || !S_ISDIR(st.st_mode))
        return 0;
    for (int i = 0; i < 26; ++i)
        if (drive[i].present && drive[i].dev == st.st_dev && drive[i].ino == st.st_ino)
            return static_cast<char>('a' + i);
    return 0;
}

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
        if (codepage::FromUtf8(name).refusal)
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
    return "C:\\" + codepage::FromUtf8(*name).bytes;
}

}  // namespace fileops
