#include "program_runner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace program_runner {

const std::string& scratch_folder() {
    static const std::string folder = [] {
        const std::string made = ::testing::TempDir() + "vokari-voicebank-" + std::to_string(::getpid()) + "/";
        std::filesystem::create_directories(made);
        return made;
    }();
    return folder;
}

std::filesystem::path fresh_folder(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(scratch_folder()) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace program_runner
