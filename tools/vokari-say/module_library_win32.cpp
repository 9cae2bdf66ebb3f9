// LoadLibrary of vokari.dll and GetProcAddress of its exports.
#include "tools/vokari-say/module_library.h"

#include <windows.h>

#include "tools/windows/system_message.h"

namespace vokari {
namespace say {

bool ModuleLibrary::open_system_library(const std::string& path, std::string& error) {
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
    return true;
}

void* ModuleLibrary::find_export(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace say
}  // namespace vokari
