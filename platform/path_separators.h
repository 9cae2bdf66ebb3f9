// The backend's part of native_path: the separators of a Windows path made the
// system's own, in place.
#pragma once

#include <cstddef>

namespace vokari {
namespace platform {

// `path` holds `length` bytes and a NUL.
void to_native_separators(char* path, std::size_t length);

}  // namespace platform
}  // namespace vokari
