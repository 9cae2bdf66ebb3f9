// Driving the module through its three exports, as the host application does:
// the library opened with LoadLibrary on Windows, dlopen elsewhere.
#include "tools/vokari-say/module_library.h"

#ifdef _WIN32
#include <windows.h>

#include "tools/windows/system_message.h"
#else
#include <dlfcn.h>
#endif

#include <cstring>
#include <filesystem>
#include <system_error>

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
    std::error_code failure;
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(path), failure)) {
        error = "module library not found: " + path;
        return false;
    }
#ifdef _WIN32
    HMODULE library = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const auto find_export = [library](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(library, name));
    };
    if (library == nullptr) {
        error = "cannot load the module library " + path + ": " + vokari::windows::system_message(GetLastError());
        return false;
    }
#else
    // dlopen searches the library path for a bare name; a name in the current
    // directory has to be given as one.
    void* library = dlopen((path.find('/') == std::string::npos ? "./" + path : path).c_str(), RTLD_NOW | RTLD_LOCAL);
    const auto find_export = [library](const char* name) { return dlsym(library, name); };
    if (library == nullptr) {
        const char* why = dlerror();
        error = "cannot load the module library " + path + ": " + (why ? why : "unknown error");
        return false;
    }
#endif
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
