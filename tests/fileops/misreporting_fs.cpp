// A small FUSE file system whose files report sizes other than what they hold, as pseudo
// and network file systems do. Every file holds the same 41-byte Win.ini text:
//   Win.ini     reports size 0
//   System.ini  reports size 11 (the first line only)
//   Hosts       reports size 41, the truth
//   Protocol    reports size 4096, more than it holds
//   Config.sys  reports size 0, hands out its first 11 bytes, then fails with EIO
//   Bytes.bin   reports size 0 and holds 2 MiB of the byte 0x80
// Usage: misreporting_fs MOUNTPOINT (stays in the foreground until unmounted or signalled).
#define FUSE_USE_VERSION 31
#include <fuse.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view kText = "[windows]\r\nload=\r\nrun=\r\nBeep=yes\r\nDevice=";
static_assert(kText.size() == 41);
constexpr std::size_t kBrokenAfter = 11;

constexpr std::size_t kHighBytes = 2 << 20;

struct Entry {
    const char* path;
    off_t reportedSize;
    bool broken;
};
constexpr Entry kEntries[] = {
    {"/Win.ini", 0, false},     {"/System.ini", 11, false}, {"/Hosts", 41, false},
    {"/Protocol", 4096, false}, {"/Config.sys", 0, true},   {"/Bytes.bin", 0, false},
};

const Entry* Find(const char* path) {
    for (const Entry& entry : kEntries) {
        if (std::strcmp(entry.path, path) == 0)
            return &entry;
    }
    return nullptr;
}

int GetAttr(const char* path, struct stat* st, fuse_file_info*) {
    std::memset(st, 0, sizeof *st);
    if (std::strcmp(path, "/") == 0) {
        st->st_mode = S_IFDIR | 0755;
        st->st_nlink = 2;
        return 0;
    }
    const Entry* entry = Find(path);
    if (entry == nullptr)
        return -ENOENT;
    st->st_mode = S_IFREG | 0644;
    st->st_nlink = 1;
    st->st_size = entry->reportedSize;
    return 0;
}

int ReadDir(const char* path, void* buf, fuse_fill_dir_t fill, off_t, fuse_file_info*,
            fuse_readdir_flags) {
    if (std::strcmp(path, "/") != 0)
        return -ENOENT;
    fill(buf, ".", nullptr, 0, fuse_fill_dir_flags{});
    fill(buf, "..", nullptr, 0, fuse_fill_dir_flags{});
    for (const Entry& entry : kEntries)
        fill(buf, entry.path + 1, nullptr, 0, fuse_fill_dir_flags{});
    return 0;
}

int Open(const char* path, fuse_file_info* fi) {
    if (Find(path) == nullptr)
        return -ENOENT;
    if ((fi->flags & O_ACCMODE) != O_RDONLY)
        return -EACCES;
    // Reads reach this program whatever the size said, as with /proc or a network share.
    fi->direct_io = 1;
    return 0;
}

int Read(const char* path, char* buf, size_t size, off_t offset, fuse_file_info*) {
    const Entry* entry = Find(path);
    if (entry == nullptr)
        return -ENOENT;
    if (std::strcmp(path, "/Bytes.bin") == 0) {
        const std::size_t n = static_cast<std::size_t>(offset) >= kHighBytes
                                  ? 0
                                  : std::min(size, kHighBytes - static_cast<std::size_t>(offset));
        std::memset(buf, 0x80, n);
        return static_cast<int>(n);
    }
    const std::size_t end = entry->broken ? kBrokenAfter : kText.size();
    if (entry->broken && static_cast<std::size_t>(offset) >= end)
        return -EIO;
    if (static_cast<std::size_t>(offset) >= end)
        return 0;
    const std::size_t n = std::min(size, end - static_cast<std::size_t>(offset));
    std::memcpy(buf, kText.data() + offset, n);
    return static_cast<int>(n);
}

}  // namespace

int main(int argc, char* argv[]) {
    fuse_operations ops{};
    ops.getattr = GetAttr;
    ops.readdir = ReadDir;
    ops.open = Open;
    ops.read = Read;
    return fuse_main(argc, argv, &ops, nullptr);
}
