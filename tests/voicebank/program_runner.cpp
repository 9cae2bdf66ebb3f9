#include "program_runner.h"

#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace program_runner {
namespace fs = std::filesystem;
namespace {

std::string read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) result += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

}  // namespace

ProgramRun voicebank(const std::vector<std::string>& arguments) { return run_program(VOICEBANK_PROGRAM, arguments); }

ProgramRun run_program(const std::string& program, const std::vector<std::string>& arguments) {
    const std::string base = fs::temp_directory_path() / ("voicebank-run-" + std::to_string(getpid()));
    std::string command = quoted(program);
    for (const std::string& argument : arguments) command += " " + quoted(argument);
    command += " >" + quoted(base + ".out") + " 2>" + quoted(base + ".err");
    const int raw = std::system(command.c_str());
    ProgramRun run;
    run.status = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
    run.out = read_all(base + ".out");
    run.err = read_all(base + ".err");
    fs::remove(base + ".out");
    fs::remove(base + ".err");
    return run;
}

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

std::vector<std::pair<std::string, std::string>> snapshot(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    std::error_code ignored;
    for (fs::recursive_directory_iterator it(folder, ignored), end; it != end; it.increment(ignored)) {
        const std::string relative = fs::relative(it->path(), folder).string();
        files.emplace_back(relative, it->is_regular_file() ? read_all(it->path().string()) : std::string("<dir>"));
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace program_runner
