// Temporary placeholders so that the tree links while this area is being
// written.  Delete each function as its real implementation lands.
#include <cstring>

#include "host/entry_points.h"
#include "host/request.h"
#include "host/request_log.h"

namespace vokari {
char module_dir[kModuleDirCapacity];
bool format_module_path(char* out, const char* relative) { (void)relative; out[0] = 0; return false; }
}  // namespace vokari
BOOL load(HGLOBAL, long) { return 1; }
HGLOBAL request(HGLOBAL, long* len) { *len = 0; return nullptr; }
BOOL unload(void) { return 1; }
namespace vokari {
double string_to_double(const char*) { return 0.0; }
int string_to_int(const char*) { return 0; }
}  // namespace vokari
