// Files on Windows: the C runtime's fopen already has the behaviour the module
// relies on (text mode, backslash paths); CopyFileA and DeleteFileA as named.
#include <windows.h>

#include <cstring>

#include "platform/path_separators.h"
#include "platform/platform.h"

namespace vokari {
namespace platform {

// path: Windows path; mode: fopen mode.  Returns an open stream or null.
std::FILE* open_file(const char* path, const char* mode) {
    if (path == nullptr || mode == nullptr) return nullptr;
    return std::fopen(path, mode);
}

// CopyFileA(from, to, FALSE).  True on success.
bool copy_file(const char* from, const char* to) { return CopyFileA(from, to, FALSE) != 0; }

// DeleteFileA(path).  True on success.
bool delete_file(const char* path) { return DeleteFileA(path) != 0; }

// Windows paths need no mapping.
void to_native_separators(char*, std::size_t) {}

}  // namespace platform
}  // namespace vokari
