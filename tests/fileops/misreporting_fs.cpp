// A FUSE file system whose files report other sizes than they hold, as pseudo and network
// file systems do; all hold kText but Bytes.bin, 2 MiB of the byte 0x80 reported as empty.
// Config.sys hands out its first 11 bytes, then fails. Usage: misreporting_fs MOUNTPOINT
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view kText = "[windows]\r\nload=\r\nrun=\r\nBeep=yes\r\nDevice=";
constexpr off_t kHighBytes = 2 << 20;
const struct Entry {
    const char* path;
    off_t reportedSize;
} kEntries[] = {{"/Win.ini", 0},     {"/System.ini", 11}, {"/Hosts", 41},
                {"/Protocol", 4096}, {"/Config.sys", 0},  {"/Bytes.bin", 0}};

const Entry* Find(const char* path) {
    for (const Entry& entry : kEntries)
        if (std::strcmp(entry.path, path) == 0)
            return &entry;
    return nullptr;
}

int GetAttr(const char* path, struct stat* st, fuse_file_info*) {
    *st = {};
    st->st_mode = std::strcmp(path, "/") == 0 ? S_IFDIR | 0755 : S_IFREG | 0644;
    const Entry* entry = Find(path);
    st->st_size = entry ? entry->reportedSize : 0;
    return entry || S_ISDIR(st->st_mode) ? 0 : -ENOENT;
}

int Open(const char*, fuse_file_info* fi) {
    fi->direct_io = 1;  // reads reach this program whatever the size said
    return 0;
}

int Read(const char* path, char* buf, size_t size, off_t offset, fuse_file_info*) {
    if (std::strcmp(path, "/Bytes.bin") == 0) {
        const auto n = static_cast<std::size_t>(std::clamp<off_t>(kHighBytes - offset, 0, size));
        std::memset(buf, 0x80, n);
        return static_cast<int>(n);
    }
    const bool broken = std::strcmp(path, "/Config.sys") == 0;
    const off_t end = broken ? 11 : static_cast<off_t>(kText.size());
    if (offset >= end)
        return broken ? -EIO : 0;
    const auto n = std::min(size, static_cast<std::size_t>(end - offset));
    std::memcpy(buf, kText.data() + offset, n);
    return static_cast<int>(n);
}

}  // namespace

int main(int argc, char* argv[]) {
    fuse_operations ops{};
    ops.getattr = GetAttr;
    ops.open = Open;
    ops.read = Read;
    return fuse_main(argc, argv, &ops, nullptr);
}
