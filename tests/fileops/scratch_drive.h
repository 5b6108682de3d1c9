// A drive of its own for the file-service tests of both builds, holding the layout below at
// its root with \Work as the current directory: drive C: of a scratch Wine-style prefix over
// the emulation, drive D: under Wine (a folder of the build tree, C: being Wine's own). The
// cases are written for C:; OnDrive moves them to the drive in use.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/files.h"
#ifndef _WIN32
#include "tests/support/temp_drive.h"
#endif

namespace fs = std::filesystem;

using Names = std::vector<std::string>;

// The names in a folder, sorted, as UTF-8.
inline Names ListDir(const fs::path& dir) {
    Names names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Long names for the MAX_PATH rows: "C:\" + 200 + "\" + 56 = 260 characters.
inline const std::string kLongFolder(200, 'L');
inline const std::string kLongFile260 = std::string(52, 'F') + ".txt";
inline const std::string kLongFile261 = std::string(53, 'G') + ".txt";

class ScratchDrive : public ::testing::Test {
  protected:
    ScratchDrive() {
        std::error_code none;  // an empty root has no entries, not even . and ..
        for (const auto& entry : fs::directory_iterator(root_, none)) fs::remove_all(entry);
        for (const char* folder : {"WINDOWS/System", "Work", "Save"})
            fs::create_directories(At(folder));
        for (const std::string file :
             {"Autoexec.bat", "WINDOWS/Win.ini", "WINDOWS/SYSTEM.INI", "WINDOWS/Caf\u00e9.ini",
              "WINDOWS/\u00e0\u00fe\u00ff\u00df\u00d7.txt",  // the ends of Latin-1's letters
              "WINDOWS/System/Vmm32.vxd", "Work/Local.txt"})
            Write(file, "content of " + file);
        fs::create_directory(At(kLongFolder));
        Write(kLongFolder + "/" + kLongFile260, ""), Write(kLongFolder + "/" + kLongFile261, "");
        fs::current_path(At("Work"));
    }
    ~ScratchDrive() override { fs::current_path(old_); }

    static std::string OnDrive(std::string path) {
        for (std::size_t i = 0; i + 1 < path.size(); ++i)
            if ((i == 0 || path[i - 1] == '\\' || path[i - 1] == '/') && path[i + 1] == ':' &&
                std::string("cCdD").find(path[i]) != std::string::npos)
                path[i] = static_cast<char>(path[i] + kLetter - 'C');
        return path;
    }
    fs::path At(const std::string& relative) const {
        return (root_ / fs::path(std::u8string(relative.begin(), relative.end()))).make_preferred();
    }
    std::optional<std::string> Read(const std::string& relative) const {
        return testsupport::ReadBytes(At(relative));
    }
    void Write(const std::string& relative, const std::string& bytes) const {
        testsupport::WriteBytes(At(relative), bytes);
    }

#ifdef _WIN32
    static constexpr char kLetter = 'D';
    const fs::path root_ = "D:\\";
#else
    static constexpr char kLetter = 'C';
    testsupport::TempDrive drive_{""};
    const fs::path root_ = drive_.DriveC();
#endif
    const fs::path old_ = fs::current_path();
};
