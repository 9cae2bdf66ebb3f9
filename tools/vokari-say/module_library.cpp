// Driving the module through its three exports, as the host application does.
#include "tools/vokari-say/module_library.h"

#include <cstring>

#include "platform/platform.h"

namespace vokari {
namespace say {
namespace {

// A copy of `bytes` without terminator, whose ownership passes to the
// module; an empty text still gets a one-byte block.  Null when memory is
// short.
void* module_block(const std::string& bytes) {
    void* block = platform::global_alloc(bytes.empty() ? 1 : bytes.size());
    if (block != nullptr && !bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
    return block;
}

}  // namespace

bool ModuleLibrary::open(const std::string& path, std::string& error) {
    if (!open_system_library(path, error)) return false;
    load_ = reinterpret_cast<LoadFunction>(find_export("load"));
    request_ = reinterpret_cast<RequestFunction>(find_export("request"));
    unload_ = reinterpret_cast<UnloadFunction>(find_export("unload"));
    if (load_ == nullptr || request_ == nullptr || unload_ == nullptr) {
        error = path + " is not a vokari module: it lacks one of the exports load, request, unload";
        return false;
    }
    return true;
}

void ModuleLibrary::load(const std::string& module_dir) {
    void* block = module_block(module_dir);
    if (block == nullptr) return;
    load_(block, static_cast<long>(module_dir.size()));
    loaded_ = true;
}

std::string ModuleLibrary::request(const std::string& request_bytes) {
    void* block = module_block(request_bytes);
    if (block == nullptr) return "";
    long length = static_cast<long>(request_bytes.size());
    void* response = request_(block, &length);
    if (response == nullptr) return "";
    std::string bytes(static_cast<const char*>(response), length > 0 ? static_cast<size_t>(length) : 0);
    platform::global_free(response);
    return bytes;
}

void ModuleLibrary::unload() {
    if (!loaded_) return;
    unload_();
    loaded_ = false;
}

}  // namespace say
}  // namespace vokari
