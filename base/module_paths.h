// The module directory and the paths formed from it.  Paths are Windows
// paths: the directory, a backslash and a relative path.
#pragma once

#include <cstddef>

namespace vokari {

// Capacity of the module directory: 1,024 bytes and a terminating NUL.
constexpr std::size_t kModuleDirCapacity = 1025;
// Capacity of every path formed from the module directory (1,027 bytes + NUL).
constexpr std::size_t kPathCapacity = 1028;

// Formats "%s\\%s" from `module_dir` (the module's own directory, without a
// trailing backslash) and `relative` into `out` (kPathCapacity bytes).
// Returns false, leaving `out` empty, when the path does not fit.
bool format_module_path(const char* module_dir, char* out, const char* relative);

}  // namespace vokari
