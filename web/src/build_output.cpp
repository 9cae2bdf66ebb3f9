// The builder writes its report to FILE streams; here they are memory
// streams whose text the page reads after the run.
#include "build_output.h"

#include <emscripten/emscripten.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "bank_writer.h"
#include "recording_checks.h"

namespace {

std::vector<std::pair<std::string, std::vector<std::uint8_t>>> made;
std::string out_text;
std::string err_text;
std::string path_text;

}  // namespace

namespace web {

int run_builder(const std::function<int(std::FILE*, std::FILE*)>& body) {
    made.clear();
    char* out_buffer = nullptr;
    size_t out_size = 0;
    char* err_buffer = nullptr;
    size_t err_size = 0;
    std::FILE* out = open_memstream(&out_buffer, &out_size);
    std::FILE* err = open_memstream(&err_buffer, &err_size);
    const int status = body(out, err);
    std::fclose(out);
    std::fclose(err);
    out_text.assign(out_buffer ? out_buffer : "", out_size);
    err_text.assign(err_buffer ? err_buffer : "", err_size);
    std::free(out_buffer);
    std::free(err_buffer);
    return status;
}

vokari::voicebank::BankSink keep_bank_files(int speaker) {
    return [speaker](const std::vector<vokari::voicebank::SlotSample>& samples,
                     const vokari::voicebank::BankTuning& tuning, std::string&) {
        for (auto& file : vokari::voicebank::bank_files(speaker, samples, tuning))
            made.emplace_back(file.first, std::move(file.second));
        return true;
    };
}

void forget_run() {
    made.clear();
    out_text.clear();
    err_text.clear();
}

int refuse_run(int status, const char* error) {
    made.clear();
    out_text.clear();
    err_text = std::string(error) + "\n";
    return status;
}

vokari::voicebank::AudioReadResult browser_recording(const float* frames, int frame_count, int channels, double rate,
                                                     const float* mono, int mono_count, const char* error) {
    vokari::voicebank::AudioReadResult recording;
    recording.error = error;
    const std::size_t values = static_cast<std::size_t>(frame_count > 0 && channels > 0 ? frame_count * channels : 0);
    if (recording.error.empty()) recording.error = vokari::voicebank::unmeasurable_samples(frames, values);
    if (recording.error.empty()) {
        recording.clipped =
            channels > 0 && vokari::voicebank::is_clipped(frames, static_cast<size_t>(frame_count), channels);
        recording.seconds = rate > 0 ? frame_count / rate : 0.0;
        recording.samples.assign(mono, mono + (mono_count > 0 ? mono_count : 0));
    }
    return recording;
}

}  // namespace web

extern "C" {

// The per-slot lines and the report of the last run (UTF-8).
EMSCRIPTEN_KEEPALIVE const char* web_build_stdout() { return out_text.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* web_build_stderr() { return err_text.c_str(); }

// The module-directory files of the last run: their number, and each one's
// path (relative to the module directory), bytes and size.
EMSCRIPTEN_KEEPALIVE int web_build_file_count() { return static_cast<int>(made.size()); }
EMSCRIPTEN_KEEPALIVE const char* web_build_file_path(int index) {
    path_text = made.at(static_cast<size_t>(index)).first;
    return path_text.c_str();
}
EMSCRIPTEN_KEEPALIVE const std::uint8_t* web_build_file_data(int index) {
    return made.at(static_cast<size_t>(index)).second.data();
}
EMSCRIPTEN_KEEPALIVE int web_build_file_size(int index) {
    return static_cast<int>(made.at(static_cast<size_t>(index)).second.size());
}

}  // extern "C"
