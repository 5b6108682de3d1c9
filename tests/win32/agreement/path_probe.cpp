// Runs the path cases of tests/fileops/path_cases.h, and a few whole-file cases, against
// the file services of the build it is compiled in: the real kernel32/shlwapi calls on
// Windows (Wine), the emulation elsewhere. Prints one line per answer, so that the two
// builds' answers can be compared line by line on the same Wine prefix.
//
// The layout of the cases is on drive D: of the prefix (drive C: holds Wine's own
// C:\windows), so the rows' drive letters move up by one: C: becomes D:, D: becomes E:.
//
//   path_probe layout <folder>   creates the layout's files and folders in <folder>
//   path_probe run               prints the answers; exit status 1 when one differs from
//                                what the table expects
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fileops/file_services.h"
#include "fileops/win32_calls.h"
#include "tests/fileops/path_cases.h"

#ifndef _WIN32
#include <unistd.h>

#include "fileops/wine_drive.h"
#endif

namespace {

// Moves the rows' drive letters up by one: the letter of a drive, not a colon elsewhere.
std::string OnDriveD(const std::string& path) {
    std::string moved = path;
    for (size_t i = 0; i + 1 < moved.size(); ++i) {
        const bool startsName = i == 0 || moved[i - 1] == '\\' || moved[i - 1] == '/';
        if (!startsName || moved[i + 1] != ':')
            continue;
        char& letter = moved[i];
        if (letter == 'c' || letter == 'C' || letter == 'd' || letter == 'D')
            ++letter;
    }
    return moved;
}

std::string Shown(const std::string& bytes) {
    std::string shown;
    char hex[8];
    for (unsigned char c : bytes) {
        if (c < 0x20 || c >= 0x7F || c == '\\') {
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            shown += c == '\\' ? std::string("\\\\") : std::string(hex);
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

bool EnterCurrentDirectory() {
#ifdef _WIN32
    return SetCurrentDirectoryA("D:\\Work") != 0;
#else
    const auto root = fileops::DriveRoot('d');
    return root && chdir((*root + "/Work").c_str()) == 0;
#endif
}

void Remove(const std::string& windowsPath) {
#ifdef _WIN32
    DeleteFileA(windowsPath.c_str());
#else
    const auto resolved = fileops::Resolve(windowsPath, fileops::Purpose::Existing);
    if (resolved.outcome == fileops::Resolution::Outcome::Found)
        std::remove(resolved.native.c_str());
#endif
}

int MakeLayout(const std::filesystem::path& folder) {
    for (const path_cases::Entry& entry : path_cases::Layout()) {
        const std::filesystem::path native = folder / entry.path;
        if (entry.folder) {
            std::filesystem::create_directories(native);
        } else {
            std::filesystem::create_directories(native.parent_path());
            std::ofstream(native, std::ios::binary) << "content of " << entry.path;
        }
    }
    return 0;
}

int Run() {
    int wrong = 0;
    std::printf("windows-directory\t%s\n", Shown(fileops::GetWindowsDir()).c_str());
    if (!EnterCurrentDirectory()) {
        std::fprintf(stderr, "cannot enter D:\\Work\n");
        return 1;
    }

    for (const path_cases::Case& row : path_cases::Cases()) {
        const std::string path = OnDriveD(row.path);
        const bool exists = fileops::FileExists(path);
        const int raw = PathFileExistsA(path.c_str());
        std::printf("exists\t%s\t%d\t%d\n", Shown(path).c_str(), exists ? 1 : 0, raw);
        if (exists != row.exists || raw != (row.exists ? 1 : 0)) {
            std::fprintf(stderr, "unexpected answer for %s (%s)\n", Shown(path).c_str(), row.why);
            ++wrong;
        }
    }

    const std::vector<std::string> reads = {"D:\\WINDOWS\\Win.ini",
                                            "d:\\windows\\system.ini",
                                            "D:\\WINDOWS\\Caf\xE9.ini",
                                            "D:\\Config.sys",
                                            "Local.txt",
                                            "D:\\WINDOWS\\Missing.ini",
                                            "D:\\WINDOWS",
                                            "D:\\WINDOWS\\NUL"};
    for (const std::string& path : reads) {
        // The cause of an unreadable file is in the system's own words, which differ; the
        // outcome must not.
        const char* outcome = "not-found";
        std::string text;
        if (fileops::FileExists(path)) {
            fileops::ReadResult read = fileops::ReadWholeFile(path);
            outcome = read.ok ? "ok" : "unreadable";
            text = std::move(read.bytes);
        }
        std::printf("read\t%s\t%s\t%s\n", Shown(path).c_str(), outcome, Shown(text).c_str());
    }

    const std::string created = "D:\\Work\\Written.txt";
    const std::string bytes = "[written]\r\nlone LF\nlone CR\r\xE9\xFF";
    for (const std::string& path : {created, std::string("D:\\WINDOWS\\win.INI")}) {
        const std::string before = fileops::ReadWholeFile(path).bytes;
        const auto failure = fileops::ReplaceWholeFile(path, bytes);
        std::printf("write\t%s\t%s\t%s\n", Shown(path).c_str(), failure ? "failed" : "ok",
                    Shown(fileops::ReadWholeFile(path).bytes).c_str());
        if (path == created) {
            Remove(path);
        } else {
            fileops::ReplaceWholeFile(path, before);
        }
    }
    for (const std::string& path :
         {std::string("D:\\Missing\\New.txt"), std::string("D:\\WINDOWS\\Win.ini\\New.txt")}) {
        const auto failure = fileops::ReplaceWholeFile(path, bytes);
        std::printf("write\t%s\t%s\n", Shown(path).c_str(), failure ? "failed" : "ok");
    }
    return wrong == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "layout" && argc == 3)
        return MakeLayout(argv[2]);
    if (command == "run")
        return Run();
    std::fprintf(stderr, "usage: path_probe layout <folder> | path_probe run\n");
    return 2;
}
