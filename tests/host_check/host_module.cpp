// Loading the module library and calling its exports with host memory blocks.
#include "host_module.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace host_check {

namespace {

void* host_block(const std::string& bytes) {
#ifdef _WIN32
    void* block = GlobalAlloc(GMEM_FIXED, bytes.size() ? bytes.size() : 1);
#else
    void* block = std::malloc(bytes.size() ? bytes.size() : 1);
#endif
    if (block != nullptr && !bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
    return block;
}

void free_host_block(void* block) {
#ifdef _WIN32
    GlobalFree(static_cast<HGLOBAL>(block));
#else
    std::free(block);
#endif
}

}  // namespace

HostModule::~HostModule() { close(); }

bool HostModule::open(const std::string& library_path) {
    close();
#ifdef _WIN32
    // The multimedia library is deliberately not loaded here: the module must
    // keep it loaded itself, or releasing the module after playback would
    // crash the host on the system's playback thread.
    HMODULE module = LoadLibraryA(library_path.c_str());
    library_ = reinterpret_cast<void*>(module);
    if (module == nullptr) {
        error_ = "LoadLibraryA failed for " + library_path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    load_ = reinterpret_cast<LoadFunction>(reinterpret_cast<void*>(GetProcAddress(module, "load")));
    request_ = reinterpret_cast<RequestFunction>(reinterpret_cast<void*>(GetProcAddress(module, "request")));
    unload_ = reinterpret_cast<UnloadFunction>(reinterpret_cast<void*>(GetProcAddress(module, "unload")));
#else
    library_ = dlopen(library_path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) {
        error_ = std::string("dlopen failed: ") + dlerror();
        return false;
    }
    load_ = reinterpret_cast<LoadFunction>(dlsym(library_, "load"));
    request_ = reinterpret_cast<RequestFunction>(dlsym(library_, "request"));
    unload_ = reinterpret_cast<UnloadFunction>(dlsym(library_, "unload"));
#endif
    if (load_ == nullptr || request_ == nullptr || unload_ == nullptr) {
        error_ = "the library lacks one of the exports load, request, unload";
        close();
        return false;
    }
    return true;
}

void HostModule::close() {
    if (library_ == nullptr) return;
#ifdef _WIN32
    FreeLibrary(reinterpret_cast<HMODULE>(library_));
#else
    dlclose(library_);
#endif
    library_ = nullptr;
    load_ = nullptr;
    request_ = nullptr;
    unload_ = nullptr;
}

int HostModule::load(const std::string& bytes, long length) { return load_(host_block(bytes), length); }

Response HostModule::request(const std::string& bytes, long length) {
    Response response;
    response.length = length;
    void* block = request_(host_block(bytes), &response.length);
    response.has_block = block != nullptr;
    if (block != nullptr) {
        if (response.length > 0)
            response.bytes.assign(static_cast<const char*>(block), static_cast<std::size_t>(response.length));
        free_host_block(block);
    }
    return response;
}

int HostModule::unload() { return unload_(); }

std::string path_from_argument(const std::string& argument) {
#ifdef _WIN32
    if (!argument.empty() && argument[0] == '/') {
        std::string path = "Z:" + argument;
        for (char& c : path)
            if (c == '/') c = '\\';
        return path;
    }
#endif
    return argument;
}

}  // namespace host_check
