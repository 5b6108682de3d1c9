// Where the C: drive is, off Windows: Wine's convention.
//
// - The prefix is $WINEPREFIX, or ~/.wine when it is unset ($HOME, else the password
//   database). As in Wine, a WINEPREFIX that is set but not an absolute path names no
//   prefix. Everything is looked up afresh at each call; nothing is cached.
// - Drive X: is the folder that <prefix>/dosdevices/x: (lowercase, as Wine names the
//   links) leads to. The link is followed by the system, so a relative target counts from
//   dosdevices/.
// - Native names are UTF-8, as Wine stores them; Windows paths are ANSI (Windows-1252).
//
// Windows paths are completed and normalised the way Windows and Wine do it before any
// name is looked up (RtlGetFullPathName_U); every rule below was checked against Wine 8.0:
//   - '/' is a separator like '\', and a run of separators counts as one;
//   - "X:\..." is on drive X; "\name" is on the drive of the current directory; "X:name"
//     is relative to the current directory when that is on drive X, else to X:\; a bare
//     name is relative to the current directory;
//   - "." and ".." components are resolved by text, before anything is looked up: ".."
//     never climbs above the drive root, and "C:\Missing\..\WINDOWS" is C:\WINDOWS;
//   - one trailing dot is dropped from a folder name inside the path ("WINDOWS.\x"), and
//     trailing dots and spaces are dropped from the end of the path ("Win.ini. ");
//   - a separator after the last name asks for a folder ("C:\WINDOWS\Win.ini\" is not);
//   - a Unix path ("/home/me/.wine/drive_c/WINDOWS") that runs through the folder of a
//     drive stands for that place on the drive (Wine's find_drive_root); other paths
//     starting with '/' are on the current drive;
//   - a DOS device name as the last name (NUL, CON, AUX, PRN, COM1-9, LPT1-9, CONIN$,
//     CONOUT$, also with an extension: "nul.txt") names that device when the folder before
//     it exists: it exists, but it is no file;
//   - "\\.\X:\..." (also written "//./", "\\?/" ...) is normalised like an ordinary path;
//     exactly "\\?\X:\..." is taken as it is: names split at backslashes only, and ".",
//     "..", empty names and slashes name nothing;
//   - paths longer than 260 characters (MAX_PATH for the ANSI calls), empty paths, paths
//     of spaces only, names with a control character or one of * ? < > | ", and UNC paths
//     ("\\server\share") name nothing in the emulation.
// The current directory is the process's working directory, expressed on the drive whose
// folder holds it (the deepest one). When it lies on no drive, Wine starts a program in
// the Windows directory, and so does the emulation (C:\ when there is none either).
//
// Each name is then matched in its folder: the exact name first; otherwise, among the
// entries whose names equal it regardless of letter case (Windows' upper-case mapping of
// Latin, Greek and Cyrillic letters), the existing one that sorts first by its bytes.
// Wine takes whichever the folder lists first; the emulation's choice is deterministic.
// For writing, when nothing existing has the last name, a link of that name that leads
// nowhere (dangling, or a loop) is taken the same way: a save goes through it or refuses,
// and never creates a second entry of the same name in another letter case.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fileops {

// The prefix folder, or nothing when none can be named.
std::optional<std::string> PrefixDir();

// "<prefix>/dosdevices/x:" for drive letter 'A'..'Z' or 'a'..'z' when it leads to a
// folder; nothing otherwise.
std::optional<std::string> DriveRoot(char letter);

// The stored (UTF-8) name of the windows folder at the root of C:: "windows" when a
// folder has exactly that name, else the first by bytes of the folders whose name is
// "windows" in any letter case and can be written in the ANSI code page. Nothing when
// there is no such folder or the root of C: cannot be read.
std::optional<std::string> WindowsFolderName();

// "C:\" followed by that name, in the ANSI code page.
std::optional<std::string> WindowsDirectory();

enum class Purpose {
    Existing,  // the whole path must name something that exists
    Writing,   // the folder must exist; the last name is used as given when nothing has it
};

struct Resolution {
    enum class Outcome {
        Found,     // native names an existing object; for Purpose::Writing it may be
                   // a link that leads nowhere (dangling, or a loop) when nothing else
                   // has the last name
        NewName,   // Purpose::Writing: nothing has the last name; native is folder + name
        Device,    // a DOS device name (NUL, CON ...) in an existing folder: it exists, as
                   // in Wine, but is no file; native is folder + name
        NotFound,  // a drive or folder on the way is missing or cannot be searched
        Invalid,   // the path is not one the emulation can name (see above)
    };
    Outcome outcome = Outcome::Invalid;
    std::string native;  // native path for Found and NewName
    int error = 0;       // errno of the failing lookup for NotFound, when there was one
};

// Translates a Windows path (ANSI) into a native path.
Resolution Resolve(std::string_view windowsPath, Purpose purpose);

// True when two names are equal regardless of letter case by Windows' rules; a is a
// native (UTF-8) name, b a name from a Windows path converted to UTF-8. Exposed for tests.
bool NamesEqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace fileops
