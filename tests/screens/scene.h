// What both windows show in the reference pictures: a drive whose Win.ini holds letters
// that fonts like to join, with no Hosts file, so that one button is greyed.
#pragma once

namespace screens {

struct DriveFile {
    bool inWindowsFolder;
    const char* name;
    const char* bytes;  // Windows-1252: \x99 is the trade mark sign, \x85 the ellipsis
};

inline constexpr DriveFile kDriveFiles[] = {
    {true, "WIN.INI",
     "; fi ffi fl TM \x99 ... \x85 1/2\r\n[windows]\r\nload=\r\nrun=\r\n[Desktop]\r\n"
     "Wallpaper=(None)\r\nTileWallpaper=0\r\n"},
    {true, "SYSTEM.INI", "[boot]\r\n"},
    {true, "PROTOCOL", "[ndis]\r\n"},
    {false, "AUTOEXEC.BAT", "SET TMP=C:\\TEMP\r\n"},
    {false, "CONFIG.SYS", "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n"},
};

inline constexpr int kWinIniIndex = 3;  // the index of the "Win.ini" button

}  // namespace screens
