// The running program's own path on Windows.
#include "program_path.h"

#include <windows.h>

#include <vector>

namespace vokari {
namespace voicebank {

std::filesystem::path running_program_path() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace voicebank
}  // namespace vokari
