// Answers the path cases of tests/fileops/path_cases.h, and a few whole-file cases, with the
// file services of the build it is compiled in: the real calls under Wine, the emulation
// elsewhere; one line per answer, so that the two builds can be compared on one prefix. The
// layout is on drive D: (C: holds Wine's own C:\windows): the rows' C: becomes D:, D: E:.
//   path_probe layout <folder>   creates the layout in <folder>
//   path_probe run               prints the answers; 1 when one is not the table's
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "fileops/file_services.h"
#include "fileops/win32_calls.h"
#include "tests/fileops/path_cases.h"

#ifndef _WIN32
#include <unistd.h>

#include "fileops/wine_drive.h"
#endif

namespace {

// The letter of a drive, not a colon elsewhere.
std::string OnDriveD(std::string path) {
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const bool startsName = i == 0 || path[i - 1] == '\\' || path[i - 1] == '/';
        if (startsName && path[i + 1] == ':' &&
            std::string("cCdD").find(path[i]) != std::string::npos)
            ++path[i];
    }
    return path;
}

std::string Shown(const std::string& bytes) {
    std::string shown;
    char hex[8];
    for (unsigned char c : bytes) {
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        shown += c == '\\' ? "\\\\" : c < 0x20 || c >= 0x7F ? hex : std::string(1, c);
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

int MakeLayout(const std::filesystem::path& folder) {
    for (const path_cases::Entry& entry : path_cases::Layout()) {
        const std::filesystem::path native = folder / entry.path;
        std::filesystem::create_directories(entry.folder ? native : native.parent_path());
        if (!entry.folder)
            std::ofstream(native, std::ios::binary) << "content of " << entry.path;
    }
    return 0;
}

int Run() {
    int wrong = 0;
    std::printf("windows-directory\t%s\n", Shown(fileops::GetWindowsDir()).c_str());
    if (!EnterCurrentDirectory())
        return std::fprintf(stderr, "cannot enter D:\\Work\n"), 1;
    for (const path_cases::Case& row : path_cases::Cases()) {
        const std::string path = OnDriveD(row.path);
        const bool exists = fileops::FileExists(path);
        const int raw = PathFileExistsA(path.c_str());
        std::printf("exists\t%s\t%d\t%d\n", Shown(path).c_str(), exists ? 1 : 0, raw);
        if (exists != row.exists || raw != (row.exists ? 1 : 0))
            ++wrong, std::fprintf(stderr, "unexpected: %s (%s)\n", Shown(path).c_str(), row.why);
    }
    // Causes are in each system's own words; the outcomes and bytes must agree.
    for (const char* path :
         {"D:\\WINDOWS\\Win.ini", "d:\\windows\\system.ini", "D:\\WINDOWS\\Caf\xE9.ini",
          "Local.txt", "D:\\WINDOWS\\Missing.ini", "D:\\WINDOWS", "D:\\WINDOWS\\NUL"}) {
        const fileops::ReadResult read = fileops::ReadWholeFile(path);
        std::printf("read\t%s\t%d\t%s\n", Shown(path).c_str(), read.ok, Shown(read.bytes).c_str());
    }
    const std::string bytes = "[written]\r\nlone LF\nlone CR\r\xE9\xFF";
    for (const char* path : {"D:\\Work\\Written.txt", "D:\\WINDOWS\\win.INI",
                             "D:\\Missing\\New.txt", "D:\\WINDOWS\\Win.ini\\New.txt"}) {
        const bool saved = !fileops::ReplaceWholeFile(path, bytes);
        std::printf("write\t%s\t%d\t%s\n", Shown(path).c_str(), saved,
                    Shown(fileops::ReadWholeFile(path).bytes).c_str());
    }
    // The other build answers next, on the same layout.
    fileops::ReplaceWholeFile("D:\\WINDOWS\\Win.ini", "content of WINDOWS/Win.ini");
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
