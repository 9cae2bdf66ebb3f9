// LoadLibrary of vokari.dll and the global-memory hand-over of its exports,
// as the host application does it.
#include "tools/vokari-say/module_library.h"

#include <windows.h>

#include <cstring>

namespace vokari_say {
namespace {

// A GlobalAlloc'd copy of `bytes` without terminator; ownership passes to the
// module.  Never null for lack of bytes: an empty text gets a one-byte block.
void* block_holding(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, bytes.empty() ? 1 : bytes.size());
    if (block != nullptr && !bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
    return block;
}

std::string system_reason(DWORD code) {
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                  sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == '.')) --length;
    return length > 0 ? std::string(text, length) : "error " + std::to_string(code);
}

}  // namespace

bool ModuleLibrary::open(const std::string& path, std::string& error) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = "module library not found: " + path;
        return false;
    }
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) {
        error = "cannot load the module library " + path + ": " + system_reason(GetLastError());
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
    GlobalFree(static_cast<HGLOBAL>(response));
    return bytes;
}

void ModuleLibrary::unload() {
    if (!loaded_) return;
    unload_();
    loaded_ = false;
}

}  // namespace vokari_say
