// The main measurement: in the real main window, open a large Hosts file with its button,
// type at its end, save it; report the times and the peak memory of the whole run.
#pragma once

#include <string>

namespace bench {

// hostsPath: the file that the "Hosts" button opens, as this system sees it, so that the
// save can be checked. With screenReader, accessibility is on and a screen reader listens.
// keys: how many letters are typed at the end; then Home and End are pressed as often. With
// no keys the run ends once the text is painted.
int RunOpenTypeSave(const std::string& hostsPath, bool screenReader, int keys);

}  // namespace bench
