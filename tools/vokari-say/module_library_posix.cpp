// dlopen of the module, and the malloc'd blocks its exports hand over.
#include "tools/vokari-say/module_library.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "tools/vokari-say/module_memory.h"

namespace vokari {
namespace say {

void* module_block(const std::string& bytes) {
    void* block = std::malloc(bytes.empty() ? 1 : bytes.size());
    if (block != nullptr && !bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
    return block;
}

void free_module_block(void* block) { std::free(block); }

bool ModuleLibrary::open(const std::string& path, std::string& error) {
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
    load_ = reinterpret_cast<LoadFunction>(dlsym(handle_, "load"));
    request_ = reinterpret_cast<RequestFunction>(dlsym(handle_, "request"));
    unload_ = reinterpret_cast<UnloadFunction>(dlsym(handle_, "unload"));
    if (load_ == nullptr || request_ == nullptr || unload_ == nullptr) {
        error = path + " is not a vokari module: it lacks one of the exports load, request, unload";
        return false;
    }
    return true;
}

}  // namespace say
}  // namespace vokari
