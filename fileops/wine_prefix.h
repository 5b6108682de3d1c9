// The prefix, its drives and the current directory, as the Wine-style drive emulation
// finds them on disk. Internal to the emulation; the public calls are in wine_drive.h.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>

namespace fileops {

bool StatOk(const std::string& path, struct stat* st);
bool IsFolder(const std::string& path);

// The identity of each drive's folder, to tell which drive a native folder is the root of.
struct DriveIds {
    struct Id {
        bool present = false;
        dev_t dev = 0;
        ino_t ino = 0;
    };
    Id drive[26];

    explicit DriveIds(const std::string& prefix);
    // The drive letter whose folder is the native folder, or 0.
    char Of(const std::string& folder) const;
};

// Wine's find_drive_root: for a Unix path, the deepest folder on it that is the folder of
// a drive. Returns the drive letter and sets rest to the part of path after that folder.
char FindDriveRoot(const std::string& path, const DriveIds& drives, std::string* rest);

struct CurrentDir {
    char drive = 'c';
    std::string rest;  // "" for the root, else "\name\name" (native names, UTF-8)
};

// The DOS form of the working directory, as Wine finds it: the deepest folder on the way
// up that is the folder of a drive names the drive. When the working directory lies on no
// drive, Wine starts the program in the Windows directory; so does the emulation.
CurrentDir CurrentDirectory(const DriveIds& drives);

}  // namespace fileops
