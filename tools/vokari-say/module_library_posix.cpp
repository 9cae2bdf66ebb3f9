// dlopen of the module library and dlsym of its exports.
#include "tools/vokari-say/module_library.h"

#include <dlfcn.h>
#include <sys/stat.h>

namespace vokari {
namespace say {

bool ModuleLibrary::open_system_library(const std::string& path, std::string& error) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        error = "module library not found: " + path;
        return false;
    }
    // dlopen searches the library path for a bare name; a name in the current
    // directory has to be given as one.
    const std::string dl_path = path.find('/') == std::string::npos ? "./" + path : path;
    handle_ = dlopen(dl_path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* why = dlerror();
        error = "cannot load the module library " + path + ": " + (why ? why : "unknown error");
        return false;
    }
    return true;
}

void* ModuleLibrary::find_export(const char* name) const { return dlsym(handle_, name); }

}  // namespace say
}  // namespace vokari
