// LoadLibrary of vokari.dll and the global memory its exports hand over, as
// the host application uses them.
#include "tools/vokari-say/module_library.h"

#include <windows.h>

#include <cstring>

#include "tools/vokari-say/module_memory.h"
#include "tools/windows/system_message.h"

namespace vokari {
namespace say {

void* module_block(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, bytes.empty() ? 1 : bytes.size());
    if (block != nullptr && !bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
    return block;
}

void free_module_block(void* block) { GlobalFree(static_cast<HGLOBAL>(block)); }

bool ModuleLibrary::open(const std::string& path, std::string& error) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = "module library not found: " + path;
        return false;
    }
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) {
        error = "cannot load the module library " + path + ": " + vokari::windows::system_message(GetLastError());
        return false;
    }
    handle_ = module;
    load_ = reinterpret_cast<LoadFunction>(reinterpret_cast<void*>(GetProcAddress(module, "load")));
    request_ = reinterpret_cast<RequestFunction>(reinterpret_cast<void*>(GetProcAddress(module, "request")));
    unload_ = reinterpret_cast<UnloadFunction>(reinterpret_cast<void*>(GetProcAddress(module, "unload")));
    if (load_ == nullptr || request_ == nullptr || unload_ == nullptr) {
        error = path + " is not a vokari module: it lacks one of the exports load, request, unload";
        return false;
    }
    return true;
}

}  // namespace say
}  // namespace vokari
