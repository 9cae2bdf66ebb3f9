// vokari-say: speaks a script through the module library the way the host
// application does, and shows, saves or draws what comes back.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tools/text/utf8.h"
#include "tools/vokari-say/display_timeline.h"
#include "tools/vokari-say/locations.h"
#include "tools/vokari-say/module_library.h"
#include "tools/vokari-say/module_log.h"
#include "tools/vokari-say/mulaw_wav.h"
#include "tools/vokari-say/options.h"
#include "tools/vokari-say/output_files.h"
#include "tools/vokari-say/paced_display.h"
#include "tools/vokari-say/private_host.h"
#include "tools/vokari-say/protocol.h"
#include "tools/vokari-say/script_input.h"
#include "tools/vokari-say/sound_device.h"
#include "tools/vokari-say/speech_report.h"
#include "tools/vokari-say/text_encoding.h"
#include "tools/vokari-say/utterance_svg.h"
#include "vokari_settings_text.h"

using namespace vokari::say;
using vokari::read_settings_text;
using vokari::setting_values;
using vokari::tag_prefix_setting;
using vokari::talk_default_speed_setting;

namespace {

using Clock = std::chrono::steady_clock;

// Extra time after the utterance's length before unloading, for the sound
// device's own latency.
constexpr int kPlaybackTailMs = 150;

// Exit statuses (see the help text).
constexpr int kSpoken = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;
constexpr int kNotHeard = 3;

int fail(const std::string& message) {
    std::fprintf(stderr, "vokari-say: %s\n", message.c_str());
    return kFailed;
}

void note(const std::string& message) { std::fprintf(stderr, "vokari-say: %s\n", message.c_str()); }

void sleep_ms(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Waits until `length_ms` have passed since `start`.
void wait_until_spoken(Clock::time_point start, int length_ms) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    sleep_ms(length_ms + kPlaybackTailMs - static_cast<int>(elapsed));
}

// The text of --file or of standard input as UTF-8, in the encoding given or
// found.
ReadResult file_text(const Options& options) {
    const std::string source = options.script_file.empty() ? "-" : options.script_file;
    if (source == "-" && isatty(STDIN_FILENO))
        std::fprintf(stderr, "vokari-say: reading the script from standard input (end it with Ctrl-D)\n");
    ReadResult read = read_input(source);
    if (!read.ok) return read;
    const Converted text = script_file_to_utf8(read.bytes, options.encoding);
    if (!text.ok) return {false, "", (source == "-" ? std::string("standard input: ") : source + ": ") + text.error};
    return {true, text.text, ""};
}

// The user's script as UTF-8: the arguments, or the text of file_text()
// turned into one script line.
ReadResult script_text(const Options& options) {
    if (options.script_given) return {true, options.script, ""};
    ReadResult text = file_text(options);
    text.bytes = script_from_text(text.bytes);
    return text;
}

// Prints the WARNING and ERROR lines of the module's log; true when there
// was an ERROR line.
bool print_module_problems(const PrivateHost& host, const std::string& voice_dir) {
    const ReadResult log = read_input(host.log_path());
    bool error = false;
    for (const std::string& line : module_problems(log.ok ? log.bytes : "", host.module_dir_for_load(), voice_dir)) {
        note("the module's log: " + line);
        error = error || line.rfind("ERROR", 0) == 0;
    }
    return error;
}

// --raw: one request sent unchanged, the response written unchanged.
int run_raw(const Options& options, ModuleLibrary& library, const PrivateHost& host, const std::string& voice_dir,
            const std::string& request) {
    const std::string response = library.request(request);
    const Clock::time_point start = Clock::now();
    if (response.empty()) return fail("the module returned no response");
    std::fwrite(response.data(), 1, response.size(), stdout);
    std::fflush(stdout);
    print_module_problems(host, voice_dir);
    const Reply reply = parse_response(response);
    const Converted reply_utf8 = cp932_to_utf8(reply.script);
    if (options.play && options.wait && reply.ok && reply_utf8.ok) {
        wait_until_spoken(
            start, build_display_timeline(reply_utf8.text, host_character_delay_ms(options.message_speed_ms)).end_ms);
    }
    return kSpoken;
}

// --reading: one line of spoken morae per script.
int run_reading(const Options& options, ModuleLibrary& library, const PrivateHost& host, const std::string& voice_dir,
                char prefix) {
    if (setting_values(read_settings_text(voice_dir.c_str()), "voice.reading.dic").empty())
        return fail("the voice in " + voice_dir + " has no reading step (no voice.reading.dic line in its settings)");
    std::vector<std::string> scripts;
    if (options.each_line) {
        const ReadResult text = file_text(options);
        if (!text.ok) return fail(text.error);
        scripts = scripts_per_line(text.bytes);
    } else {
        const ReadResult text = script_text(options);
        if (!text.ok) return fail(text.error);
        scripts.push_back(text.bytes);
    }
    const std::string silent_tag = std::string(1, prefix) + "wavouts[" + PrivateHost::kSoundFileName + "]";
    std::size_t unreadable = 0;
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        const Converted cp932 = utf8_to_cp932(scripts[i]);
        if (!cp932.ok && !options.each_line) return fail("cannot read this script: " + cp932.error);
        if (!cp932.ok) {
            // One line the module cannot take costs that line only: it stays
            // empty, so that every other line keeps its place.
            note("line " + std::to_string(i + 1) + ": cannot read this script: " + cp932.error);
            std::printf("\n");
            ++unreadable;
            continue;
        }
        const Reply reply = parse_response(
            library.request(build_reading_request(silent_tag, cp932.text, options.pitch, options.timing)));
        if (!reply.ok) return fail(reply.error);
        // A module whose reading step is off (its analyser dictionary
        // missing, say) takes the command for a script: it renders it into
        // the silent tag's file or paces it with wait tags, never kana.
        if (reply.script.find(silent_tag) != std::string::npos || read_input(host.sound_file_path()).ok ||
            reply.script.find("\\_w[") != std::string::npos) {
            print_module_problems(host, voice_dir);
            return fail("the voice's reading step is not working (see the module's log above)");
        }
        const Converted line = cp932_to_utf8(reply.script);
        if (!line.ok) return fail(line.error);
        std::printf("%s\n", line.text.c_str());
    }
    std::fflush(stdout);
    print_module_problems(host, voice_dir);
    if (unreadable > 0) return fail(std::to_string(unreadable) + " of the lines could not be read (left empty)");
    return kSpoken;
}

// What vokari-say needs to speak a script and judge the result.
struct ScriptRun {
    std::string script_utf8;     // as given, for the picture's title
    std::string request;         // the request sent
    std::string sound_tag;       // the tag that asks for the sound file ("" = none)
    bool own_sound_tag = false;  // the script asks for a sound file of its own
    SoundDevice device;          // asked only when playing
};

// A script: sent, its reply shown, its sound saved or drawn, and every
// silence explained.
int run_script(const Options& options, ModuleLibrary& library, const PrivateHost& host, const std::string& voice_dir,
               const ScriptRun& run) {
    const std::string response = library.request(run.request);
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
    const bool module_error = print_module_problems(host, voice_dir);

    const ReadResult sound_bytes = read_input(host.sound_file_path());
    const MuLawWav wav = sound_bytes.ok ? read_mulaw_wav(host.sound_file_path()) : MuLawWav();
    const bool file_needed = !options.output_wav.empty() || !options.svg_file.empty();
    if (file_needed && sound_bytes.ok && !wav.ok) return fail(wav.error);
    // No sound at all is a silence like any other: the notes below say why.
    if (file_needed && !sound_bytes.ok) note("the module rendered no sound, so nothing was saved or drawn");
    std::string error;
    if (wav.ok && !options.svg_file.empty() &&
        !write_output_file(options.svg_file, draw_utterance_svg(wav, timeline, "vokari-say: " + run.script_utf8),
                           error))
        return fail(error);
    if (wav.ok && !options.output_wav.empty() && !write_output_file(options.output_wav, sound_bytes.bytes, error))
        return fail(error);

    int status = kSpoken;
    if (run.own_sound_tag) {
        note(
            "the script asks for a sound file of its own; it is written into vokari-say's private copy of the "
            "voice folder and removed at the end (use --output FILE to keep the speech)");
    } else if (!run.sound_tag.empty()) {
        SpeechFacts facts;
        facts.voice_dir = voice_dir;
        facts.voice_has_samples = voice_has_samples(voice_dir);
        if (!facts.voice_has_samples) facts.voice_below = voice_folder_below(voice_dir);
        facts.talk_default_speed = talk_default_speed_setting(read_settings_text(voice_dir.c_str()));
        facts.script_has_kanji = vokari::text::holds_kanji(run.script_utf8);
        facts.sound_written = wav.ok;
        facts.module_error = module_error;
        facts.sound = wav;
        facts.reply_end_ms = timeline.end_ms;
        facts.playing = options.play;
        facts.sound_device = run.device.usable;
        facts.device_problem = run.device.problem;
        const SpeechReport report = judge_speech(facts);
        for (const std::string& message : report.notes) note(message);
        if (!report.spoken_in_full) status = kNotHeard;
    }

    if (options.play && options.wait && run.device.usable)
        wait_until_spoken(start, wav.ok ? duration_ms(wav) : timeline.end_ms);
    return status;
}

// Runs `run` on the module library at `library_path`, loaded on the private
// host tree of `plan`, and unloads it again.
template <typename Run>
int with_module(const PrivateHostPlan& plan, const std::string& library_path, const Run& run) {
    PrivateHost host;
    std::string error;
    if (!host.create(plan, error)) return fail(error);
    ModuleLibrary library;
    if (!library.open(library_path, error)) return fail(error);
    library.load(host.module_dir_for_load());
    const int status = run(library, host);
    library.unload();
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedOptions parsed = parse_options(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.ok) {
        std::fprintf(stderr, "vokari-say: %s\nTry 'vokari-say --help'.\n", parsed.error.c_str());
        return kUsageError;
    }
    const Options& options = parsed.options;
    if (options.help) {
        std::fputs(usage_text("vokari-say").c_str(), stdout);
        return kSpoken;
    }

    const Location voice_dir = find_module_dir(options.module_dir);
    if (!voice_dir.ok) return fail(voice_dir.error);
    const Location library_path = find_library(options.library);
    if (!library_path.ok) return fail(library_path.error);
    // Output files are checked before anything is spoken.
    for (const std::string& output : {options.output_wav, options.svg_file}) {
        const std::string why = output.empty() ? "" : why_not_writable(output);
        if (!why.empty()) return fail("cannot write " + output + ": " + why);
    }

    const std::string settings = read_settings_text(voice_dir.path.c_str());
    ScriptRun run;
    const char prefix = tag_prefix_setting(settings);
    if (options.reading) {
        if (prefix == '\0') return fail("the module's tag.prefix setting is empty, so --reading cannot keep it silent");
        PrivateHostPlan plan;
        plan.voice_dir = voice_dir.path;
        plan.message_speed_ms = options.message_speed_ms;
        return with_module(plan, library_path.path, [&](ModuleLibrary& library, const PrivateHost& host) {
            return run_reading(options, library, host, voice_dir.path, prefix);
        });
    }
    if (options.raw_file.empty()) {
        const ReadResult text = script_text(options);
        if (!text.ok) return fail(text.error);
        const Converted script = utf8_to_cp932(text.bytes);
        if (!script.ok) return fail("cannot speak this script: " + script.error);
        run.script_utf8 = text.bytes;
        // The module's own sound-file output, aimed at the private folder,
        // gives the sound to save, to draw and to judge; its silent form is
        // the only way to keep the module from playing.
        if (prefix != '\0') {
            run.sound_tag =
                std::string(1, prefix) + (options.play ? "wavout[" : "wavouts[") + PrivateHost::kSoundFileName + "]";
        } else if (!options.play || !options.output_wav.empty() || !options.svg_file.empty()) {
            return fail("the module's tag.prefix setting is empty, so it cannot be asked for a sound file");
        }
        run.request = build_request(run.sound_tag + script.text, options.protocol);
        run.own_sound_tag =
            !run.sound_tag.empty() && script.text.find(std::string(1, prefix) + "wavout") != std::string::npos;
        // The module writes only the last sound file a script asks for.
        if (run.own_sound_tag && (!options.output_wav.empty() || !options.svg_file.empty()))
            return fail(
                "the script asks for a sound file of its own, which takes the place of the one that "
                "--output and --svg need: remove its wavout tag");
    } else {
        const ReadResult request = read_input(options.raw_file);
        if (!request.ok) return fail(request.error);
        run.request = request.bytes;
    }
    if (options.play) run.device = find_sound_device();

    PrivateHostPlan plan;
    plan.voice_dir = voice_dir.path;
    plan.message_speed_ms = options.message_speed_ms;
    plan.sound_tag = run.sound_tag;
    plan.request_text = run.request;
    plan.silent = !options.play;
    return with_module(plan, library_path.path, [&](ModuleLibrary& library, const PrivateHost& host) {
        return options.raw_file.empty() ? run_script(options, library, host, voice_dir.path, run)
                                        : run_raw(options, library, host, voice_dir.path, run.request);
    });
}
