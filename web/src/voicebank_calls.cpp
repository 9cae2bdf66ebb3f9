// The voice-bank builder for the page's recordings named by syllable: the
// browser decodes each file (or takes the microphone's), this file hands
// them to the same build as vokari-voicebank, which checks, analyses and
// reports on them as it does for a folder.
#include <emscripten/emscripten.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "build_output.h"
#include "command_line.h"
#include "recordings_build.h"
#include "syllables.h"
#include "json_text.h"

namespace {

// The files the author opened or recorded, by name, with the recordings the
// build reads.
class PageRecordings : public vokari::voicebank::RecordingFiles {
public:
    void begin(const std::string& name) {
        name_ = name;
        names_.clear();
        recordings_.clear();
    }

    void add_name(const std::string& name) { names_.push_back(name); }

    void add_recording(const std::string& name, vokari::voicebank::AudioReadResult recording) {
        names_.push_back(name);
        recordings_[name] = std::move(recording);
    }

    std::vector<std::string> file_names() const override { return names_; }

    vokari::voicebank::AudioReadResult recording(const std::string& name) const override {
        const auto it = recordings_.find(name);
        if (it != recordings_.end()) return it->second;
        vokari::voicebank::AudioReadResult missing;
        missing.error = "not decoded by the browser";
        return missing;
    }

    std::string describe(const std::string& name) const override { return name.empty() ? name_ : name; }

private:
    std::string name_;
    std::vector<std::string> names_;
    std::map<std::string, vokari::voicebank::AudioReadResult> recordings_;
};

PageRecordings recordings;
std::string result_text;

}  // namespace

extern "C" {

// The bank's sample rate in Hz: recordings must arrive at this rate.
EMSCRIPTEN_KEEPALIVE int web_bank_rate() { return vokari::voicebank::kBankRate; }

// The syllables in slot order as JSON: [{"romaji":"a","kana":"あ"},...].
EMSCRIPTEN_KEEPALIVE const char* web_syllables() {
    result_text = "[";
    for (int slot = 0; slot < vokari::voicebank::kSyllableCount; ++slot) {
        if (slot > 0) result_text += ',';
        result_text += "{\"romaji\":";
        web::append_json_string(result_text, vokari::voicebank::kSyllables[slot].romaji);
        result_text += ",\"kana\":";
        web::append_json_string(result_text, vokari::voicebank::kSyllables[slot].kana);
        result_text += '}';
    }
    result_text += ']';
    return result_text.c_str();
}

// What the file name `name` says, as JSON: {"slot":N,"sound":B,"problem":
// "..."}, the slot it records (-1 for none), whether it is a sound file's
// name and, for any name but a syllable's, the builder's words for it.
EMSCRIPTEN_KEEPALIVE const char* web_recording_name(const char* name) {
    const vokari::voicebank::RecordingName read = vokari::voicebank::read_recording_name(name);
    result_text = "{\"slot\":" + std::to_string(read.slot) + ",\"sound\":" + (read.sound_file ? "true" : "false") +
                  ",\"problem\":";
    web::append_json_string(result_text, read.problem);
    result_text += '}';
    return result_text.c_str();
}

// Forgets the recordings handed over so far: the start of a new bank, which
// messages call `name`.
EMSCRIPTEN_KEEPALIVE void web_bank_begin(const char* name) {
    recordings.begin(name);
    web::forget_run();
}

// A file the build only names (one named after no syllable).
EMSCRIPTEN_KEEPALIVE void web_bank_add_file(const char* name) { recordings.add_name(name); }

// A recording as the browser decoded it (see browser_recording).
EMSCRIPTEN_KEEPALIVE void web_bank_add_recording(const char* name, const float* frames, int frame_count, int channels,
                                                 double rate, const float* mono, int mono_count, const char* error) {
    recordings.add_recording(name,
                             web::browser_recording(frames, frame_count, channels, rate, mono, mono_count, error));
}

// Builds speaker `speaker`'s (0 or 1) bank from the recordings handed over.
// Returns the builder's exit status: 0 built, 1 failed, 3 built with
// warnings; the report and the files made are in web_build_*.
EMSCRIPTEN_KEEPALIVE int web_bank_build(int speaker) {
    if (speaker != 0 && speaker != 1)
        return web::refuse_run(vokari::voicebank::kExitUsage, "the speaker must be 0 or 1");
    return web::run_builder([&](std::FILE* out, std::FILE* err) {
        return vokari::voicebank::build_from_recording_files(recordings, speaker, web::keep_bank_files(speaker), out,
                                                             err);
    });
}

}  // extern "C"
