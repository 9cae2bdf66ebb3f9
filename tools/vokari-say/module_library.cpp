// dlopen of the module and the memory-block hand-over of its exports.
#include "tools/vokari-say/module_library.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

namespace vokari_say {
namespace {

// A malloc'd copy of `bytes` without terminator; ownership passes to the
// module.  Never null: an empty text still gets a one-byte block.
void* block_holding(const std::string& bytes) {
    void* block = std::malloc(bytes.empty() ? 1 : bytes.size());
    if (block != nullptr && !bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
    return block;
}

}  // namespace

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

void ModuleLibrary::load(const std::string& module_dir) {
    void* block = block_holding(module_dir);
    if (block == nullptr) return;
    load_(block, static_cast<long>(module_dir.size()));
    loaded_ = true;
}

std::string ModuleLibrary::request(const std::string& request_bytes) {
    void* block = block_holding(request_bytes);
    if (block == nullptr) return "";
    long length = static_cast<long>(request_bytes.size());
    void* response = request_(block, &length);
    if (response == nullptr) return "";
    std::string bytes(static_cast<const char*>(response), length > 0 ? static_cast<size_t>(length) : 0);
    std::free(response);
    return bytes;
}

void ModuleLibrary::unload() {
    if (!loaded_) return;
    unload_();
    loaded_ = false;
}

}  // namespace vokari_say
