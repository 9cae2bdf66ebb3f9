// Request handling: splits off the first line and detects the protocol from
// its last word, parses up to 8 header lines, applies the security gate and
// composes the response.  MAKOTO/2.0 carries the script in "String", SAORI/1.0
// in "Argument0" (answered in "Result"); every response ends in the Charset
// line and a blank line.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>

#include "host/request.h"
#include "base/text_routines.h"
#include "platform/platform.h"
#include "reading/accent_phrases.h"
#include "reading/spoken_kana.h"
#include "host/front_end_hook.h"
#include "synth/wav_image.h"
#include "translate/speech_plan.h"
#include "voice_data/config_text.h"
#include "voice_data/request_log.h"
#include "voice_data/settings.h"

namespace vokari {

namespace {

const char kMakotoPrefix[] = "MAKOTO/2.0 200 OK\r\nString: ";
const char kSaoriPrefix[] = "SAORI/1.0 200 OK\r\nResult: ";
const char kVersionResponse[] = "SAORI/1.0 200 OK";
const char kResponseSuffix[] = "\r\nCharset: Shift_JIS\r\n\r\n";

struct FirstLine {
    std::string command;    // the first line without its last word
    bool is_saori = false;  // the last word begins with "SAORI"
};

// Cuts the first line off the front of `text`: returns it without its line
// feed and one trailing carriage return, and moves `text` past it.  Without a
// line feed the first line is empty and `text` stays.
std::string split_first_line(const char*& text) {
    const char* feed = std::strchr(text, '\n');
    if (feed == nullptr) return std::string();
    std::string line(text, feed);
    strip_last_char(line, '\r');
    text = feed + 1;
    return line;
}

// The protocol is told by the word after the last space of the first line.
FirstLine detect_protocol(const std::string& first_line) {
    FirstLine result;
    result.command = first_line;
    int last_space = -1;
    for (int at = find_from(first_line, 0, " "); at >= 0; at = find_from(first_line, at + 1, " ")) last_space = at;
    if (last_space < 0) return result;
    result.is_saori = first_line.compare(static_cast<std::size_t>(last_space) + 1, 5, "SAORI") == 0;
    result.command.resize(static_cast<std::size_t>(last_space));
    return result;
}

// Splits "name: value" at its first colon; both halves trimmed.
bool split_header_line(const std::string& line, HeaderField& field) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) return false;
    field.name = line.substr(0, colon);
    field.value = line.substr(colon + 1);
    trim_blanks(field.name);
    trim_blanks(field.value);
    return true;
}

// Fills `headers` from the lines of `text`, in order, until a line without a
// line feed after it, a blank line, a line without a colon, or the 8th
// header.
void parse_headers(const char* text, HeaderField (&headers)[kHeaderCount]) {
    for (HeaderField& field : headers) {
        const char* feed = std::strchr(text, '\n');
        if (feed == nullptr) return;
        std::string line(text, feed);
        text = feed + 1;
        strip_last_char(line, '\r');
        strip_last_char(line, '\n');
        strip_last_char(line, '\r');
        if (line.empty() || line[0] == '\r' || line[0] == '\n') return;
        if (!split_header_line(line, field)) return;
    }
}

// With "security.level" at "high", only a SecurityLevel of "Local" or "local"
// (or none at all) lets a request through.
bool security_allows(const Settings& settings, const RequestState& state) {
    if (settings.security_high == 0) return true;
    std::string level = "Local";
    for (const HeaderField& field : state.headers) {
        if (field.name == "SecurityLevel") {
            level = field.value;
            break;
        }
    }
    return level == "Local" || level == "local";
}

// The normal path: the script's plan gives the speech and the reply; the
// voice plays what it planned.
void process_script(Module& module, RequestState& state, std::string& response, bool is_saori) {
    const SpeechPlan plan =
        plan_speech(speech_sources(module), state.header(is_saori ? "Argument0" : "String"), state.timeline);
    if (plan.scan.total_ms != 0) {
        show_timeline_to_front_end(state.timeline);
        render_and_play(module.voice, module.image, state.timeline, plan.scan.sound_file, plan.scan.total_ms);
    }
    response = is_saori ? kSaoriPrefix : kMakotoPrefix;
    response += plan.reply;
}

// "1.000": three decimals by integer arithmetic, alike in every build.
std::string three_decimals(double factor) {
    const long long thousandths = static_cast<long long>(factor * 1000.0 + 0.5);
    const std::string digits = int_to_decimal(thousandths % 1000 + 1000);
    return int_to_decimal(thousandths / 1000) + "." + digits.substr(1);
}

// With the prosody model, "GET Reading" with Argument1 "timing": each mora
// of the model, katakana, with its start and length in ms and its pitch in
// whole Hz, "-" for a mora said without voice ("コ:310:205:145").  Without
// the model, the plain morae.
void add_timed_morae(const Module& module, const std::vector<ReadWord>& words,
                     const std::function<void(const std::string&)>& add) {
    if (!module.prosody.is_open()) {
        for (const std::string& mora : spoken_morae(words)) add(mora);
        return;
    }
    const Settings& settings = module.voice.settings;
    const ProsodyPlan plan = module.prosody.plan(words, settings.prosody_tempo, settings.prosody_range);
    for (const ProsodyMora& mora : plan.morae) {
        const std::string pitch = mora.log_f0 == 0.0 || mora.devoiced
                                      ? std::string("-")
                                      : int_to_decimal(static_cast<long long>(std::exp(mora.log_f0) + 0.5));
        add(mora.kana + ":" + int_to_decimal(mora.start_ms) + ":" + int_to_decimal(mora.length_ms) + ":" + pitch);
    }
}

// "GET Reading" (SAORI, only while the reading step is on): Argument0 is
// translated and read as it would be spoken, and Result holds the spoken
// morae, space-separated hiragana (none after the voice tag "e", none at all
// with "n"); nothing is played.  With Argument1 "pitch", each mora carries
// its accent's pitch factor ("きょ:1.000"); with "timing", the prosody
// model's timing (add_timed_morae).
void answer_reading(Module& module, RequestState& state, std::string& response) {
    std::string script = state.header("Argument0");
    const bool pitch = state.header("Argument1") == "pitch";
    const bool timing = state.header("Argument1") == "timing";
    std::vector<ReadWord> words;
    if (!read_script(speech_sources(module), script, &words)) words.clear();
    response = kSaoriPrefix;
    bool first = true;
    auto add = [&](const std::string& token) {
        if (!first) response += ' ';
        response += token;
        first = false;
    };
    if (timing) {
        add_timed_morae(module, words, add);
        return;
    }
    if (!pitch) {
        for (const std::string& mora : spoken_morae(words)) add(mora);
        return;
    }
    for (const SpokenMora& mora : accent_morae(words, module.voice.settings.accent_depth))
        add(mora.kana + ":" + three_decimals(mora.factor));
}

void dispatch_request(Module& module, RequestState& state, const char* text, std::string& response,
                      const FirstLine& first) {
    parse_headers(text, state.headers);
    if (security_allows(module.voice.settings, state)) {
        if (first.is_saori && first.command == "GET Version") response = kVersionResponse;
        else if (first.is_saori && first.command == "GET Reading" && module.reader.is_open())
            answer_reading(module, state, response);
        else process_script(module, state, response, first.is_saori);
        return;
    }
    response = first.is_saori ? kSaoriPrefix : kMakotoPrefix;
    response += state.header(first.is_saori ? "Argument0" : "String");
}

}  // namespace

// request_copy: the NUL-terminated request text.  Leaves the complete
// response, ending in "\r\nCharset: Shift_JIS\r\n\r\n", in `response`.
void handle_request(Module& module, RequestState& state, const char* request_copy, std::string& response) {
    const char* text = request_copy;
    const FirstLine first = detect_protocol(split_first_line(text));
    dispatch_request(module, state, text, response, first);
    response += kResponseSuffix;
}

void handle_request(Module& module, const char* request_copy, std::string& response) {
    RequestState state;
    handle_request(module, state, request_copy, response);
}

void handle_logged_request(Module& module, RequestState& state, const char* request_copy, std::uint32_t start_ms,
                           std::string& response) {
    const Settings& settings = module.voice.settings;
    log_line(settings, LogLine::RequestHeader);
    log_write(settings, request_copy);
    handle_request(module, state, request_copy, response);
    if (log_is_on(settings)) {
        const std::uint32_t elapsed = platform::tick_count() - start_ms;
        log_line(settings, LogLine::ResponseHeader);
        log_line(settings, LogLine::ExecuteTime, {int_to_decimal(elapsed)});
        log_write(settings, response.c_str());
    }
}

// The value of the first header named exactly `name` (case matters), or "".
std::string RequestState::header(const char* name) const {
    for (const HeaderField& field : headers)
        if (field.name == name) return field.value;
    return std::string();
}

}  // namespace vokari
