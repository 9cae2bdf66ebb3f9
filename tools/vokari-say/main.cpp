// vokari-say: speaks a script through the module library the way the host
// application does, and shows, saves or draws what comes back.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tools/vokari-say/display_timeline.h"
#include "tools/vokari-say/locations.h"
#include "tools/vokari-say/module_library.h"
#include "tools/vokari-say/mulaw_wav.h"
#include "tools/vokari-say/options.h"
#include "tools/vokari-say/paced_display.h"
#include "tools/vokari-say/protocol.h"
#include "tools/vokari-say/script_input.h"
#include "tools/vokari-say/sound_capture.h"
#include "tools/vokari-say/tag_prefix.h"
#include "tools/vokari-say/text_encoding.h"
#include "tools/vokari-say/utterance_svg.h"

using namespace vokari_say;

namespace {

using Clock = std::chrono::steady_clock;

// Extra time after the utterance's length before unloading, for the sound
// device's own latency.
constexpr int kPlaybackTailMs = 150;

// The longest module directory path the module accepts, in bytes.
constexpr size_t kModuleDirLimit = 1024;

int fail(const std::string& message) {
    std::fprintf(stderr, "vokari-say: %s\n", message.c_str());
    return 1;
}

void sleep_ms(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Waits until `length_ms` have passed since `start`.
void wait_until_spoken(Clock::time_point start, int length_ms) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    sleep_ms(length_ms + kPlaybackTailMs - static_cast<int>(elapsed));
}

// The user's script as UTF-8: the arguments, or the text of --file or of
// standard input turned into one script line.
ReadResult script_text(const Options& options) {
    if (options.script_given) {
        ReadResult given;
        given.ok = true;
        given.bytes = options.script;
        return given;
    }
    const std::string source = options.script_file.empty() ? "-" : options.script_file;
    if (source == "-" && isatty(STDIN_FILENO))
        std::fprintf(stderr, "vokari-say: reading the script from standard input (end it with Ctrl-D)\n");
    ReadResult read = read_input(source);
    if (read.ok) read.bytes = script_from_text(read.bytes);
    return read;
}

bool write_text_file(const std::string& path, const std::string& text, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file != nullptr) ok = std::fclose(file) == 0 && ok;
    if (!ok) error = "cannot write " + path;
    return ok;
}

// --raw: one request sent unchanged, the response written unchanged.
int run_raw(const Options& options, ModuleLibrary& library) {
    const ReadResult request = read_input(options.raw_file);
    if (!request.ok) return fail(request.error);
    const std::string response = library.request(request.bytes);
    const Clock::time_point start = Clock::now();
    if (response.empty()) return fail("the module returned no response");
    std::fwrite(response.data(), 1, response.size(), stdout);
    std::fflush(stdout);
    const Reply reply = parse_response(response);
    const Converted reply_utf8 = cp932_to_utf8(reply.script);
    if (options.play && options.wait && reply.ok && reply_utf8.ok) {
        wait_until_spoken(start, build_display_timeline(reply_utf8.text,
                                                        host_character_delay_ms(options.message_speed_ms)).end_ms);
    }
    return 0;
}

// A script (`script_utf8` as given, `script` in Shift_JIS): sent, its reply
// shown and its sound saved or drawn.
int run_script(const Options& options, ModuleLibrary& library, const std::string& module_dir,
               const std::string& script_utf8, const std::string& script) {
    // The sound file comes through the module's own sound-file output; it is
    // also the only way to keep the module from playing, and it tells how long
    // the utterance is.
    const bool file_needed = !options.output_wav.empty() || !options.svg_file.empty();
    const bool capture_needed = file_needed || !options.play;
    SoundCapture capture;
    std::string tag;
    const char prefix = read_tag_prefix(module_dir);
    std::string capture_error;
    if (capture_needed && prefix == '\0')
        return fail("the module's tag.prefix setting is empty, so it cannot be asked for a sound file");
    if (prefix != '\0' && (capture_needed || options.wait)) {
        if (capture.reserve(module_dir, capture_error)) tag = capture.request_tag(prefix, !options.play);
        else if (capture_needed) return fail(capture_error);
    }

    const std::string response = library.request(build_request(tag + script, options.protocol));
    const Clock::time_point start = Clock::now();
    const Reply reply = parse_response(response);
    if (!reply.ok) return fail(reply.error);
    const Converted reply_utf8 = cp932_to_utf8(reply.script);
    if (!reply_utf8.ok) return fail("the module's reply is not Shift_JIS: " + reply_utf8.error);

    const DisplayTimeline timeline =
        build_display_timeline(reply_utf8.text, host_character_delay_ms(options.message_speed_ms));
    if (options.pace) {
        show_paced(timeline, stdout, sleep_ms);
    } else {
        std::printf("%s\n", reply_utf8.text.c_str());
        std::fflush(stdout);
    }

    const MuLawWav wav = capture.written() ? read_mulaw_wav(capture.path()) : MuLawWav();
    if (file_needed && !wav.ok) {
        return fail(capture.written() ? wav.error
                                      : "the module wrote no sound: the script has nothing to speak, or the module "
                                        "could not write into " + module_dir + " (its log tells which)");
    }
    std::string error;
    if (!options.svg_file.empty() &&
        !write_text_file(options.svg_file, draw_utterance_svg(wav, timeline, "vokari-say: " + script_utf8), error))
        return fail(error);
    if (!options.output_wav.empty() && !capture.move_to(options.output_wav, error)) return fail(error);

    if (options.play && options.wait) wait_until_spoken(start, wav.ok ? duration_ms(wav) : timeline.end_ms);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedOptions parsed = parse_options(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.ok) {
        std::fprintf(stderr, "vokari-say: %s\nTry 'vokari-say --help'.\n", parsed.error.c_str());
        return 2;
    }
    const Options& options = parsed.options;
    if (options.help) {
        std::fputs(usage_text("vokari-say").c_str(), stdout);
        return 0;
    }

    const Location module_dir = find_module_dir(options.module_dir);
    if (!module_dir.ok) return fail(module_dir.error);
    if (module_dir.path.size() > kModuleDirLimit)
        return fail("the module directory's path is longer than the module accepts (1024 bytes): " + module_dir.path);
    const Location library_path = find_library(options.library);
    if (!library_path.ok) return fail(library_path.error);
    ReadResult text;
    Converted script;
    if (options.raw_file.empty()) {
        text = script_text(options);
        if (!text.ok) return fail(text.error);
        script = utf8_to_cp932(text.bytes);
        if (!script.ok) return fail("cannot speak this script: " + script.error);
    }
    ModuleLibrary library;
    std::string error;
    if (!library.open(library_path.path, error)) return fail(error);

    library.load(module_dir.path);
    const int status = options.raw_file.empty()
                           ? run_script(options, library, module_dir.path, text.bytes, script.text)
                           : run_raw(options, library);
    library.unload();
    return status;
}
