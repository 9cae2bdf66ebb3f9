// Finding the module library and the module directory to use.
#pragma once

#include <string>

namespace vokari {
namespace say {

struct Location {
    bool ok = false;
    std::string path;   // absolute when ok
    std::string error;  // what was looked for, and where, when not ok
};

// The library to load: `requested` when not empty, else "libvokari.so" beside
// this program, else the library of the build this program came from.
Location find_library(const std::string& requested);

// The module directory: `requested` when not empty (it must be a directory),
// else the bundled voice "voices/default", looked for beside this program, in
// "../share/vokari" from it, and in the source tree it was built from.
Location find_module_dir(const std::string& requested);

}  // namespace say
}  // namespace vokari
