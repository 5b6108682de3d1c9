// The pieces of a save off Windows (replace_posix.cpp): the temporary file that becomes
// the file, and the attributes carried from the old file to it.
#pragma once

#include <optional>
#include <string>

namespace fileops {

// A failure as the save command shows it: the system's words first, then what was being
// done ("No space left on device (writing the new content)").
std::string Cause(int error, const std::string& doing);

// The new content of a file, written beside it and put in its place in one step. Where
// the file system allows it the file has no name until then, so that a killed save leaves
// nothing behind; elsewhere it is ".<name>.cmsave-XXXXXX". While it is being written it
// holds a lock that tells a live save from a leftover (RemoveLeftovers). Whatever has not
// been put in place is removed when the object goes.
class TempFile {
  public:
    TempFile() = default;
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    // Creates the file in folder, for the file called name there.
    std::optional<std::string> Create(const std::string& folder, const std::string& name);
    int fd() const { return fd_; }
    // Takes the place of target (a file in the same folder) once the content is on disk.
    std::optional<std::string> PutInPlace(const std::string& target);

  private:
    std::optional<std::string> GiveName();

    int fd_ = -1;
    std::string folder_;
    std::string prefix_;  // ".<name>.cmsave-"
    std::string path_;    // the name it has, "" while it has none
};

// Removes the temporary files that killed saves of the file called name left in folder:
// regular files named ".<name>.cmsave-" and six letters or digits, owned by this user,
// with no other link and not locked by a save under way. Failures are ignored: they do
// not concern the save.
void RemoveLeftovers(const std::string& folder, const std::string& name);

// Carries the extended attributes of the open file from to the open file to: Wine's DOS
// attributes (user.DOSATTRIB), every other user.* attribute and the access control list
// must come along, or the cause is returned; security.*, trusted.* and other system.*
// attributes come along where the system lets this user set them. Runs before the
// permission bits are set (user attributes need a writable file).
std::optional<std::string> CarryExtendedAttributes(int from, int to);

// On a FAT file system (vfat, msdos), carries the DOS attributes that the directory entry
// holds (read-only, hidden, system, archive) or returns the cause. Runs after the content
// and the permission bits are set, which change them.
std::optional<std::string> CarryFatAttributes(int from, int to);

}  // namespace fileops
