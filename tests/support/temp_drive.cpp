#include "tests/support/temp_drive.h"

#include <cstdlib>
#include <stdexcept>

namespace testsupport {

namespace fs = std::filesystem;

TempDrive::TempDrive(const std::string& windowsFolder) : windowsFolder_(windowsFolder) {
    std::string pattern = (fs::temp_directory_path() / "cindermoor-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    root_ = pattern, prefix_ = root_ / "prefix", driveC_ = root_ / "drive_c";
    fs::create_directories(prefix_ / "dosdevices");
    fs::create_directories(WindowsDir());
    fs::create_directory_symlink("../../drive_c", prefix_ / "dosdevices" / "c:");
    if (const char* old = std::getenv("WINEPREFIX"))
        oldPrefix_ = old;
    setenv("WINEPREFIX", prefix_.c_str(), 1);
}

TempDrive::~TempDrive() {
    oldPrefix_ ? setenv("WINEPREFIX", oldPrefix_->c_str(), 1) : unsetenv("WINEPREFIX");
    std::error_code ignored;
    // Tests may leave folders closed to their owner; open them up so everything can go.
    for (auto it = fs::recursive_directory_iterator(root_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored))
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
}

fs::path TempDrive::Write(const std::string& relative, const std::string& bytes) const {
    WriteBytes(driveC_ / relative, bytes);
    return driveC_ / relative;
}

}  // namespace testsupport
