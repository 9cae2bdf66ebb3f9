// The running program's own path: /proc/self/exe on Linux, the module file
// name on Windows (in wide characters, so that no code page is involved).
#include "tools/text/program_path.h"

#ifdef _WIN32
#include <windows.h>

#include <vector>
#endif

#include <system_error>

namespace vokari {
namespace text {

std::filesystem::path running_program_path() {
#ifdef _WIN32
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
#else
    std::error_code failure;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failure);
    return failure ? std::filesystem::path() : program;
#endif
}

}  // namespace text
}  // namespace vokari
