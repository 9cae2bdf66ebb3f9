// Running the real vokari-voicebank from tests, and writing sound files for
// it to read.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "recording_file.h"
#include "support/program_run.h"

namespace program_runner {

// Runs vokari-voicebank with `arguments`.
inline ProgramRun voicebank(const std::vector<std::string>& arguments) {
    return run_program(VOICEBANK_PROGRAM, arguments);
}

// Writes mono `samples` (+-1.0) as a WAV file of `rate` Hz, 16-bit PCM.
inline void write_wav(const std::string& path, const std::vector<float>& samples, int rate = 22050) {
    vokari::voicebank::write_recording(path, samples, rate, true);
}

// A folder of this test process's own under the temporary folder, ending in
// '/': two suites run at once never share a bank or recordings folder.
const std::string& scratch_folder();

// A new, empty folder `name` in scratch_folder().
std::filesystem::path fresh_folder(const std::string& name);

}  // namespace program_runner
