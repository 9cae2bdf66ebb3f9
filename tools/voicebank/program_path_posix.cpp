// The running program's own path on Linux.
#include "program_path.h"

#include <system_error>

namespace vokari {
namespace voicebank {

std::filesystem::path running_program_path() {
    std::error_code failure;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failure);
    return failure ? std::filesystem::path() : program;
}

}  // namespace voicebank
}  // namespace vokari
