// The module library, loaded and driven exactly as the host application does:
// its three exports `load`, `request` and `unload`, with every block handed
// over a global memory block of the platform layer, as the host allocates it
// (the module frees it), and the response block freed here.  The library is
// never closed: its audio backend may still be winding down after `unload`,
// and the process ends soon after anyway.
#pragma once

#include <string>

namespace vokari {
namespace say {

class ModuleLibrary {
public:
    ModuleLibrary() = default;
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    // Opens the shared library at `path` and finds the three exports.  False,
    // with a message in `error`, when the file is missing, cannot be loaded or
    // lacks an export.
    bool open(const std::string& path, std::string& error);

    // Calls `load` with the module directory (no terminator, its exact length).
    void load(const std::string& module_dir);

    // Calls `request` with the request bytes; gives the response bytes, or an
    // empty string when the module returned no block.
    std::string request(const std::string& request_bytes);

    // Calls `unload` once if `load` was called.
    void unload();

private:
    using LoadFunction = int (*)(void*, long);
    using RequestFunction = void* (*)(void*, long*);
    using UnloadFunction = int (*)();

    LoadFunction load_ = nullptr;
    RequestFunction request_ = nullptr;
    UnloadFunction unload_ = nullptr;
    bool loaded_ = false;
};

}  // namespace say
}  // namespace vokari
