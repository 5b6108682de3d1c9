// A large Hosts file as Windows keeps it: CR LF line ends, Windows-1252 comments.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// At least minimumBytes of Hosts entries, every line ended by CR LF, the same bytes on
// every call.
std::string MakeHostsFile(std::size_t minimumBytes);

// minimumBytes of Hosts entries separated by tabs: one line without a line end, as a file
// whose line ends were lost looks.
std::string MakeOneLineFile(std::size_t minimumBytes);

}  // namespace bench
