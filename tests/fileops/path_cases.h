// The path cases of the file services: Windows paths and whether PathFileExistsA (and so
// FileExists) finds them, over one layout of drive C: with C:\Work as the current
// directory. The emulation (path_test.cpp) and Wine's real calls (tests/win32/agreement/)
// both answer the same table. Native names are UTF-8; under Wine the locale must be a UTF-8
// one, so that the ANSI code page is Windows-1252. Not here: Unix paths into the layout
// (path_test.cpp), 8.3 short names, and entries differing only in case with different kinds
// (Wine's choice follows the folder's listing order).
#pragma once

#include <string>
#include <vector>

namespace path_cases {

struct Entry {
    std::string path;  // relative to the folder of C:, '/'-separated, UTF-8
    bool folder;
};

// Long names for the MAX_PATH rows: "C:\" + 200 + "\" + 56 = 260 characters.
inline std::string LongFolder() {
    return std::string(200, 'L');
}
inline std::string LongFile260() {
    return std::string(52, 'F') + ".txt";
}  // 56 characters
inline std::string LongFile261() {
    return std::string(53, 'G') + ".txt";
}  // 57 characters

inline std::vector<Entry> Layout() {
    return {
        {"Autoexec.bat", false},
        {"CONFIG.SYS", false},
        {"WINDOWS", true},
        {"WINDOWS/Win.ini", false},
        {"WINDOWS/SYSTEM.INI", false},
        {"WINDOWS/Protocol", false},
        {"WINDOWS/Caf\u00e9.ini", false},                       // "Café.ini"
        {"WINDOWS/\u00e0\u00fe\u00ff\u00df\u00d7.txt", false},  // the ends of Latin-1's letters
        {"WINDOWS/System", true},
        {"WINDOWS/System/Vmm32.vxd", false},
        {"Work", true},
        {"Work/Local.txt", false},
        {"Twins", true},
        {"Twins/data.txt", false},
        {"Twins/DATA.TXT", false},
        {LongFolder(), true},
        {LongFolder() + "/" + LongFile260(), false},
        {LongFolder() + "/" + LongFile261(), false},
    };
}

// The current directory the rows assume.
inline constexpr const char* kCurrentDirectory = "C:\\Work";

struct Case {
    std::string path;  // Windows path, ANSI (Windows-1252) bytes
    bool exists;
    const char* why;
};

inline std::vector<Case> Cases() {
    const std::string longDir = "C:\\" + LongFolder() + "\\";
    return {
        // Names and letter case.
        {"C:\\WINDOWS\\Win.ini", true, "exact names"},
        {"C:\\windows\\win.ini", true, "other letter case, folder and file"},
        {"c:\\WINDOWS\\WIN.INI", true, "lower-case drive letter"},
        {"C:\\WINDOWS\\System.ini", true, "stored as SYSTEM.INI"},
        {"C:\\Autoexec.bat", true, "file at the root of C:"},
        {"C:\\Config.sys", true, "root file stored as CONFIG.SYS"},
        {"C:\\WINDOWS\\Missing.ini", false, "missing file"},
        {"C:\\Missing\\Win.ini", false, "missing folder on the way"},
        {"C:\\WINDOWS\\Win.ini\\System.ini", false, "a file used as a folder"},
        {"C:\\Twins\\Data.txt", true, "several entries match regardless of case"},
        {"C:\\WINDOWS\\Caf\xE9.ini", true, "Windows-1252 e acute, stored as UTF-8 Caf\u00e9.ini"},
        {"C:\\WINDOWS\\CAF\xC9.INI", true, "E acute upper case matches e acute"},
        {"C:\\WINDOWS\\Cafe.ini", false, "e is not e acute"},
        {"C:\\WINDOWS\\\xC0\xDE\x9F\xDF\xD7.txt", true,
         "a grave, thorn and y diaeresis match their capitals; sharp s and times have none"},
        {"C:\\WINDOWS\\\xE0\xFE\xFF\xDF\xF7.txt", false, "the division sign is not the times sign"},

        // Folders count.
        {"C:\\WINDOWS", true, "a folder"},
        {"C:\\WINDOWS\\System", true, "a folder inside a folder"},
        {"C:\\WINDOWS\\", true, "a folder with a trailing backslash"},
        {"C:\\", true, "the root of C:"},
        {"C:\\.", true, "the root of C:, dot"},
        {"C:\\..", true, ".. stops at the root"},

        // Separators.
        {"C:\\\\WINDOWS\\\\\\Win.ini", true, "repeated backslashes count as one"},
        {"C:/WINDOWS/Win.ini", true, "forward slashes are separators"},
        {"C:\\WINDOWS/System\\Vmm32.vxd", true, "mixed separators"},
        {"\\\\WINDOWS\\Win.ini", false, "two leading backslashes make a UNC path"},
        {"C:\\WINDOWS\\Win.ini\\", false, "a separator after a file name asks for a folder"},
        {"C:\\WINDOWS\\Win.ini/", false, "a slash after a file name too"},
        {"C:\\WINDOWS\\Win.ini\\.\\", false, "file, then .\\ leaves a trailing separator"},
        {"C:\\WINDOWS\\Win.ini\\..\\", true, "file, then ..\\ is the folder"},
        {"/WINDOWS/Win.ini", true,
         "a leading slash is the root of the current drive (no drive is / here)"},

        // Dots and spaces, resolved as text before the lookup.
        {"C:\\WINDOWS\\.\\Win.ini", true, "a . component"},
        {"C:\\WINDOWS\\System\\..\\Win.ini", true, "a .. component"},
        {"C:\\Missing\\..\\WINDOWS\\Win.ini", true, ".. after a missing folder (text, not lookup)"},
        {"C:\\WINDOWS\\Win.ini\\..\\SYSTEM.INI", true, ".. after a file"},
        {"C:\\..\\..\\WINDOWS\\Win.ini", true, ".. never climbs above the root"},
        {"C:\\WINDOWS\\Win.ini\\.", true, "final . after a file"},
        {"C:\\WINDOWS\\Win.ini.", true, "trailing dot dropped"},
        {"C:\\WINDOWS\\Win.ini . .", true, "trailing dots and spaces dropped"},
        {"C:\\WINDOWS.\\Win.ini", true, "one trailing dot of a folder name dropped"},
        {"C:\\WINDOWS..\\Win.ini", false, "only one dot of a folder name is dropped"},
        {"C:\\WINDOWS\\...", true, "final ... is all trailing dots: C:\\WINDOWS\\"},
        {"C:\\WINDOWS\\ Win.ini", false, "a leading space stays"},

        // Relative forms, with C:\Work as the current directory.
        {"\\WINDOWS\\Win.ini", true, "\\name is at the root of the current drive C:"},
        {"\\windows\\WIN.INI", true, "\\name, other case"},
        {"Local.txt", true, "bare name in the current directory"},
        {"LOCAL.TXT", true, "bare name, other case"},
        {"Win.ini", false, "bare name not in the current directory"},
        {".\\Local.txt", true, "dot-relative"},
        {"..\\WINDOWS\\Win.ini", true, "parent-relative"},
        {"..\\..\\..\\Autoexec.bat", true, "parent-relative above the root"},
        {"C:Local.txt", true, "C:name is relative to the current directory on C:"},
        {"C:WINDOWS\\Win.ini", false,
         "C:name is not at the root when the current directory is elsewhere"},
        {"C:", true, "C: alone is the current directory"},
        {"Local.txt\\", false, "bare file name with a trailing separator"},
        {" ", false, "a path of spaces only"},
        {" .", true, "space and dot: the current directory"},
        {"Missing\\..  ", false, "trailing spaces after .. keep .. from climbing"},

        // Other drives.
        {"D:\\WINDOWS\\Win.ini", false, "no drive D:"},
        {"D:\\", false, "root of a missing drive"},

        // Names Windows cannot have.
        {"", false, "empty path"},
        {"C:\\WINDOWS\\Win*.ini", false, "wildcard *"},
        {"C:\\WINDOWS\\Win?.ini", false, "wildcard ?"},
        {"C:\\WINDOWS\\<Win.ini>", false, "< and >"},
        {"C:\\WINDOWS\\\"Win.ini\"", false, "double quotes"},
        {"C:\\WINDOWS\\Win|ini", false, "vertical bar"},
        {"C:\\WINDOWS\\Win\x01.ini", false, "control character"},
        {"C:\\WINDOWS\\Win.ini:stream", false, "a stream that does not exist"},

        // DOS devices exist in any existing folder, with or without an extension.
        {"C:\\WINDOWS\\NUL", true, "NUL in an existing folder"},
        {"C:\\WINDOWS\\com1.txt", true, "COM1 with an extension"},
        {"C:\\WINDOWS\\Con ", true, "CON with a trailing space"},
        {"NUL", true, "NUL in the current directory"},
        {"C:\\Missing\\NUL", false, "NUL in a missing folder"},
        {"C:\\WINDOWS\\Win.ini\\NUL", false, "NUL after a file"},
        {"C:\\WINDOWS\\COM1\\", false, "a device name with a trailing separator is a folder name"},
        {"C:\\WINDOWS\\com0.txt", false, "COM0 is no device"},

        // Device paths: \\.\ is normalised, \\?\ is taken as it is.
        {"\\\\.\\C:\\WINDOWS\\..\\WINDOWS\\Win.ini", true, "\\\\.\\ path, normalised"},
        {"//./C:/WINDOWS/Win.ini", true, "\\\\.\\ path written with slashes"},
        {"\\\\.\\C:\\..\\WINDOWS\\Win.ini", false, ".. in a \\\\.\\ path climbs over the drive"},
        {"\\\\.\\C:\\WINDOWS\\NUL", false, "no DOS devices in device paths"},
        {"\\\\?\\C:\\WINDOWS\\Win.ini", true, "\\\\?\\ path"},
        {"\\\\?\\c:\\windows\\win.ini", true, "\\\\?\\ path, other case"},
        {"\\\\?\\C:\\WINDOWS\\", true, "\\\\?\\ path to a folder with a trailing separator"},
        {"\\\\?\\C:\\WINDOWS\\.\\Win.ini", false, "\\\\?\\ path: . is not resolved"},
        {"\\\\?\\C:\\WINDOWS\\\\Win.ini", false, "\\\\?\\ path: an empty name"},
        {"\\\\?\\C:\\WINDOWS\\Win.ini.", false, "\\\\?\\ path: the trailing dot stays"},
        {"\\\\?\\C:/WINDOWS/Win.ini", false, "\\\\?\\ path: slashes are no separators"},
        {"\\\\?\\C:", false, "\\\\?\\ path: a drive without its root"},

        // MAX_PATH for the ANSI calls.
        {longDir + LongFile260(), true, "260 characters: the longest ANSI path"},
        {longDir + LongFile261(), false, "261 characters: longer than MAX_PATH"},
    };
}

}  // namespace path_cases
