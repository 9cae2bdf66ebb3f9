// Where the running program's file is; empty when the system cannot say.
#pragma once

#include <filesystem>

namespace vokari {
namespace voicebank {

std::filesystem::path running_program_path();

}  // namespace voicebank
}  // namespace vokari
