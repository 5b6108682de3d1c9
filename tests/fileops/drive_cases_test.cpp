// Path, reading and saving cases both builds answer alike: the emulated Win32 calls on Linux,
// the real ones under Wine, in a UTF-8 locale so that the ANSI code page is Windows-1252. Not
// here: 8.3 names, and entries differing only in case (Wine cannot make them).
#include <cerrno>
#include <cstring>
#include <optional>

#include "fileops/file_services.h"
#include "fileops/win32_calls.h"
#include "scratch_drive.h"

namespace {

struct PathCase {
    std::string path;  // Windows path, ANSI (Windows-1252) bytes
    bool exists;
    const char* why;
};

const PathCase kPathCases[] = {
    {"C:\\WINDOWS\\Win.ini", true, "exact names"},
    {"C:\\windows\\win.ini", true, "other letter case, folder and file"},
    {"C:\\WINDOWS\\System.ini", true, "stored as SYSTEM.INI"},
    {"C:\\Autoexec.bat", true, "file at the root of C:"},
    {"C:\\WINDOWS\\Missing.ini", false, "missing file"},
    {"C:\\WINDOWS\\Caf\xE9.ini", true, "Windows-1252 e acute, stored as UTF-8 Caf\u00e9.ini"},
    {"C:\\WINDOWS\\CAF\xC9.INI", true, "E acute upper case matches e acute"},
    {"C:\\WINDOWS\\Cafe.ini", false, "e is not e acute"},
    {"C:\\WINDOWS\\\xC0\xDE\x9F\xDF\xD7.txt", true,
     "capitals of a grave, thorn, y diaeresis; sharp s and times"},
    {"C:\\WINDOWS\\\xE0\xFE\xFF\xDF\xF7.txt", false, "the division sign is not the times sign"},
    {"C:\\WINDOWS", true, "a folder"},
    {"C:\\WINDOWS\\", true, "a folder with a trailing backslash"},
    {"C:\\", true, "the root of C:"},
    {"C:\\\\WINDOWS\\\\\\..\\Autoexec.bat", true, "a run of backslashes counts as one"},
    {"C:/WINDOWS/Win.ini", true, "forward slashes are separators"},
    {"\\\\WINDOWS\\Win.ini", false, "two leading backslashes make a UNC path"},
    {"C:\\WINDOWS\\Win.ini\\", false, "a separator after a file name asks for a folder"},
    {"C:\\WINDOWS\\Win.ini\\..\\", true, "file, then ..\\ is the folder"},
    {"C:\\WINDOWS\\.\\Win.ini", true, "a . component"},
    {"C:\\WINDOWS\\System\\..\\Win.ini", true, "a .. component"},
    {"C:\\Missing\\..\\WINDOWS\\Win.ini", true, ".. after a missing folder (text, not lookup)"},
    {"C:\\..\\..\\WINDOWS\\Win.ini", true, ".. never climbs above the root"},
    {"C:\\WINDOWS\\Win.ini . .", true, "trailing dots and spaces dropped"},
    {"C:\\WINDOWS.\\Win.ini", true, "one trailing dot of a folder name dropped"},
    {"C:\\WINDOWS..\\Win.ini", false, "only one dot of a folder name is dropped"},
    {"C:\\WINDOWS\\...", true, "final ... is all trailing dots: C:\\WINDOWS\\"},
    {"C:\\WINDOWS\\ Win.ini", false, "a leading space stays"},
    {"\\WINDOWS\\Win.ini", true, "\\name is at the root of the current drive C:"},
    {"Local.txt", true, "bare name in the current directory"},
    {"..\\WINDOWS\\Win.ini", true, "parent-relative"},
    {"C:Local.txt", true, "C:name is relative to the current directory on C:"},
    {"C:WINDOWS\\Win.ini", false, "C:name is in the current directory, not the root"},
    {"C:", true, "C: alone is the current directory"},
    {" ", false, "a path of spaces only"},
    {" .", true, "space and dot: the current directory"},
    {"Missing\\..  ", false, "trailing spaces after .. keep .. from climbing"},
    {"D:\\WINDOWS\\Win.ini", false, "no drive D:"},
    {"", false, "empty path"},
    {"C:\\WINDOWS\\Win*.ini", false, "wildcard *"},
    {"C:\\WINDOWS\\Win?.ini", false, "wildcard ?"},
    {"C:\\WINDOWS\\<Win.ini>", false, "< and >"},
    {"C:\\WINDOWS\\\"Win.ini\"", false, "double quotes"},
    {"C:\\WINDOWS\\Win|ini", false, "vertical bar"},
    {"C:\\WINDOWS\\Win\x01.ini", false, "control character"},
    {"C:\\WINDOWS\\Win.ini:stream", false, "a stream that does not exist"},
    {"C:\\WINDOWS\\NUL", true, "NUL in an existing folder"},
    {"C:\\WINDOWS\\com1.txt", true, "COM1 with an extension"},
    {"C:\\Missing\\NUL", false, "NUL in a missing folder"},
    {"C:\\WINDOWS\\Win.ini\\NUL", false, "NUL after a file"},
    {"C:\\WINDOWS\\COM1\\", false, "a device name with a trailing separator is a folder name"},
    {"C:\\WINDOWS\\com0.txt", false, "COM0 is no device"},
    {"\\\\.\\C:\\WINDOWS\\..\\WINDOWS\\Win.ini", true, "\\\\.\\ path, normalised"},
    {"\\\\.\\C:\\..\\WINDOWS\\Win.ini", false, ".. in a \\\\.\\ path climbs over the drive"},
    {"\\\\.\\C:\\WINDOWS\\NUL", false, "no DOS devices in device paths"},
    {"\\\\?\\C:\\WINDOWS\\Win.ini", true, "\\\\?\\ path"},
    {"\\\\?\\C:\\WINDOWS\\.\\Win.ini", false, "\\\\?\\ path: . is not resolved"},
    {"\\\\?\\C:\\WINDOWS\\Win.ini.", false, "\\\\?\\ path: the trailing dot stays"},
    {"\\\\?\\C:/WINDOWS/Win.ini", false, "\\\\?\\ path: slashes are no separators"},
    {"C:\\" + kLongFolder + "\\" + kLongFile260, true, "260 characters: the longest ANSI path"},
    {"C:\\" + kLongFolder + "\\" + kLongFile261, false, "261 characters: longer than MAX_PATH"},
};

TEST_F(ScratchDrive, EveryPathIsFoundAsWindowsFindsIt) {
    for (const auto& c : kPathCases) {
        const std::string path = OnDrive(c.path);
        EXPECT_EQ(fileops::FileExists(path), c.exists) << "\"" << path << "\": " << c.why;
        EXPECT_EQ(PathFileExistsA(path.c_str()), c.exists ? 1 : 0) << path;
    }
}

// The words of a refusal are the system's own; the emulation's are checked.
void ExpectWords(const std::string& cause, [[maybe_unused]] const std::string& words,
                 const std::string& path) {
    EXPECT_FALSE(cause.empty()) << path;
#ifndef _WIN32
    EXPECT_NE(cause.find(words), std::string::npos) << path << ": " << cause;
#endif
}

// Each file is read, then saved, under the name it is stored by (a new one as asked).
TEST_F(ScratchDrive, ReadAndSaveKeepEveryByteUnderTheStoredName) {
    std::string all, big(3 * 1024 * 1024 + 17, '\0');
    for (int b = 0; b < 512; ++b) all.push_back(static_cast<char>(b < 256 ? b : 511 - b));
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 7919) >> 3);
    const struct {
        const char* path;
        std::string stored;              // in Save
        std::optional<std::string> old;  // none: no such file yet
        std::string text;
    } cases[] = {
        {"C:\\save\\BYTES.BIN", "Bytes.bin", all + "\r\nlone\rcr\n\n\r", big},
        {"C:\\Save\\Big.txt", "Big.txt", big, ""},
        {"C:\\Save\\Empty.ini", "Empty.ini", "", all + "\r\nline\nline\rend\r\n"},
        {"c:\\save\\WIN.INI", "Win.ini", "old", "new"},
        {"C:\\Save\\CAF\xC9.INI", "Caf\u00e9.ini", "caf\xC3\xA9", "neu\r\n"},
        {"C:\\Save\\Caf\xE9.ini", "Caf\u00e9.ini", std::nullopt, "neu\r\n"},
        {"..\\Save\\New.ini", "New.ini", std::nullopt, "relative"},
    };
    for (const auto& c : cases) {
        fs::remove_all(At("Save")), fs::create_directory(At("Save"));
        if (c.old)
            Write("Save/" + c.stored, *c.old);
        const fileops::ReadResult read = fileops::ReadWholeFile(OnDrive(c.path));
        EXPECT_EQ(read.ok, c.old.has_value()) << c.path << ": " << read.cause;
        EXPECT_TRUE(read.bytes == c.old.value_or("")) << c.path;
        EXPECT_EQ(fileops::ReplaceWholeFile(OnDrive(c.path), c.text), std::nullopt) << c.path;
        EXPECT_EQ(ListDir(At("Save")), Names{c.stored}) << c.path;
        EXPECT_TRUE(Read("Save/" + c.stored) == c.text) << c.path;
    }
}

TEST_F(ScratchDrive, RefusedReadGivesNothingAndRefusedSaveChangesNothing) {
    const Names root = ListDir(At("")), windows = ListDir(At("WINDOWS"));
    const struct {
        const char* path;
        std::string readWords, saveWords;
    } cases[] = {
        {"C:\\WINDOWS\\System", std::strerror(EISDIR), "folder"},
        {"C:\\Missing\\Win.ini", std::strerror(ENOENT), std::strerror(ENOENT)},
        {"C:\\WINDOWS\\Win.ini\\New.txt", "", ""},
        {"C:\\WINDOWS\\nul.ini", "device", "device"},
        {"C:\\WINDOWS\\Win*.ini", "valid", "valid"},
        {"C:\\WINDOWS\\New.ini\\", "", ""},
        {"D:\\Win.ini", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const fileops::ReadResult read = fileops::ReadWholeFile(OnDrive(c.path));
        EXPECT_FALSE(read.ok || !read.bytes.empty()) << c.path;
        ExpectWords(read.cause, c.readWords, c.path);
        const auto refusal = fileops::ReplaceWholeFile(OnDrive(c.path), "new");
        ExpectWords(refusal.value_or(""), c.saveWords, c.path);
        EXPECT_EQ(ListDir(At("")), root);
        EXPECT_EQ(ListDir(At("WINDOWS")), windows);
        EXPECT_EQ(ListDir(At("WINDOWS/System")), Names{"Vmm32.vxd"});
        EXPECT_EQ(Read("WINDOWS/Win.ini"), "content of WINDOWS/Win.ini");
    }
}

}  // namespace
