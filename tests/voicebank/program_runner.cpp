#include "program_runner.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <filesystem>

namespace program_runner {

void write_wav(const std::string& path, const std::vector<float>& samples, int rate) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return;
    // No clipping by libsndfile's own scaling: full scale stays full scale.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
}

const std::string& scratch_folder() {
    static const std::string folder = [] {
        const std::string made = ::testing::TempDir() + "vokari-voicebank-" + std::to_string(::getpid()) + "/";
        std::filesystem::create_directories(made);
        return made;
    }();
    return folder;
}

}  // namespace program_runner
