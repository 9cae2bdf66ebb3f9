// CopyFileA and DeleteFileA on Linux.
#include <cstdio>
#include <cstring>
#include <vector>

#include <unistd.h>

#include "platform/platform.h"

namespace vokari {
namespace platform {

// Copies the bytes of `from` to `to`, replacing `to` (Windows paths).  True on
// success; a directory as either argument fails.
bool copy_file(const char* from, const char* to) {
    std::FILE* source = open_file(from, "rb");
    if (source == nullptr) return false;
    std::FILE* target = open_file(to, "wb");
    if (target == nullptr) {
        std::fclose(source);
        return false;
    }
    std::vector<char> chunk(65536);
    bool ok = true;
    std::size_t got;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), source)) > 0) {
        if (std::fwrite(chunk.data(), 1, got, target) != got) {
            ok = false;
            break;
        }
    }
    if (std::ferror(source)) ok = false;
    std::fclose(source);
    if (std::fclose(target) != 0) ok = false;
    return ok;
}

// Removes the file `path` (Windows path).  True on success; a directory is
// never removed.
bool delete_file(const char* path) {
    std::vector<char> mapped(std::strlen(path) + 1);
    native_path(path, mapped.data(), mapped.size());
    return ::unlink(mapped.data()) == 0;
}

}  // namespace platform
}  // namespace vokari
