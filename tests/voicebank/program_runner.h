// Running the real vokari-voicebank from tests, and writing sound files for
// it to read.
#pragma once

#include <string>
#include <vector>

namespace program_runner {

struct ProgramRun {
    int status = -1;     // exit status; -1 when the program did not exit normally
    std::string out;     // what it printed to stdout
    std::string err;     // what it printed to stderr
};

// Runs `program` with `arguments` (each passed as one argument).
ProgramRun run_program(const std::string& program, const std::vector<std::string>& arguments);

// Runs vokari-voicebank with `arguments`.
ProgramRun voicebank(const std::vector<std::string>& arguments);

// Writes mono `samples` (+-1.0) as a WAV file of `rate` Hz, 16-bit PCM.
void write_wav(const std::string& path, const std::vector<float>& samples, int rate = 22050);

// Every file under `folder` with its bytes, by relative path, for checking
// that a folder was left as it was.
std::vector<std::pair<std::string, std::string>> snapshot(const std::string& folder);

}  // namespace program_runner
