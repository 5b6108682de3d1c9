// The text of Windows paths, as the emulation completes and normalises them before any
// name is looked up: pure string work, no file system. Internal to the emulation.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fileops {

bool IsSeparator(char c);
char AsciiLower(char c);

// Is this last name of a path a DOS device (NUL, CON, AUX, PRN, COM1-9, LPT1-9, CONIN$,
// CONOUT$), also with an extension, trailing spaces or a trailing colon ("nul .txt",
// "NUL:")? As in RtlIsDosDeviceName_U.
bool IsDosDeviceName(std::string_view name);

// The normalisation of RtlGetFullPathName_U (Wine's collapse_path) on a full path
// "X:\...", mark being the length of the part that stays ("X:\" = 3).
void CollapsePath(std::string& path, std::size_t mark);

// A control character or one of * ? < > | ".
bool HasInvalidCharacter(std::string_view name);

// A full path after normalisation: the drive, the names below its root (UTF-8), and
// whether a separator ended the path.
struct FullPath {
    char drive = 0;
    std::vector<std::string> names;
    bool trailingSeparator = false;
    bool devicePath = false;  // "\\?\" and "\\.\" paths: no DOS device names
};

// Splits "x:\a\b\" into a FullPath (one trailing separator sets trailingSeparator; any
// other empty name stays in names); false when it is not of that form.
bool SplitDrivePath(const std::string& full, FullPath* out);

}  // namespace fileops
