// Driving the module through its three exports, as the host application does.
#include "tools/vokari-say/module_library.h"

#include "tools/vokari-say/module_memory.h"

namespace vokari {
namespace say {

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
    free_module_block(response);
    return bytes;
}

void ModuleLibrary::unload() {
    if (!loaded_) return;
    unload_();
    loaded_ = false;
}

}  // namespace say
}  // namespace vokari
