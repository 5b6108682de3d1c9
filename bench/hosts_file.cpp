#include "bench/hosts_file.h"

#include <cstdio>

namespace bench {

std::string MakeHostsFile(std::size_t minimumBytes) {
    std::string bytes;
    bytes.reserve(minimumBytes + 128);
    bytes += "# Copyright (c) 1998 Microsoft Corp.\r\n#\r\n127.0.0.1       localhost\r\n";
    char line[128];
    for (unsigned n = 0; bytes.size() < minimumBytes; ++n) {
        // Now and then a comment in the ANSI code page (u-umlaut, en dash), as people write.
        if (n % 64 == 0) {
            std::snprintf(line, sizeof line, "# B\xFCro %u \x96 Drucker und Server\r\n", n / 64);
        } else {
            std::snprintf(line, sizeof line, "10.%u.%u.%u\thost-%07u.corp.example\t# rack %u\r\n",
                          (n >> 16) & 0xFF, (n >> 8) & 0xFF, n & 0xFF, n, n % 97);
        }
        bytes += line;
    }
    return bytes;
}

std::string MakeOneLineFile(std::size_t minimumBytes) {
    std::string bytes = MakeHostsFile(minimumBytes);
    for (char& c : bytes) {
        if (c == '\r' || c == '\n')
            c = '\t';
    }
    return bytes;
}

}  // namespace bench
