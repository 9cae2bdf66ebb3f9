// Where the running program's file is, for the tools that look for their
// data beside it; empty when the system cannot say.
#pragma once

#include <filesystem>

namespace vokari {
namespace text {

std::filesystem::path running_program_path();

}  // namespace text
}  // namespace vokari
