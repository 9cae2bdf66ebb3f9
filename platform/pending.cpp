// Temporary placeholders so that the tree links while the platform layer is
// being written.  Delete this file when platform/posix and platform/win32 land.
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

namespace vokari {
namespace platform {
void* global_alloc(std::size_t bytes) { return std::malloc(bytes ? bytes : 1); }
void global_free(void* block) { std::free(block); }
std::uint32_t tick_count() { return 0; }
void local_date_time(char date[9], char time[9]) { std::strcpy(date, "01/01/00"); std::strcpy(time, "00:00:00"); }
std::FILE* open_file(const char* path, const char* mode) {
    char p[4096]; native_path(path, p, sizeof p); return std::fopen(p, mode);
}
bool copy_file(const char*, const char*) { return false; }
bool delete_file(const char*) { return false; }
void native_path(const char* path, char* out, std::size_t out_size) {
    std::size_t i = 0;
    for (; path[i] && i + 1 < out_size; ++i) out[i] = path[i] == '\\' ? '/' : path[i];
    out[i] = 0;
}
}  // namespace platform
}  // namespace vokari
