// Request handling: splits off the first line and detects the protocol from
// its last word, parses up to 8 header lines, applies the security gate and
// composes the response.  MAKOTO/2.0 carries the script in "String", SAORI/1.0
// in "Argument0" (answered in "Result"); every response ends in the Charset
// line and a blank line.
#include <cstdint>
#include <cstring>

#include "host/request.h"
#include "host/base/text_routines.h"
#include "synth/wav_image.h"
#include "translate/scanner.h"
#include "translate/translation_dictionary.h"
#include "voice_data/config_text.h"
#include "voice_data/settings.h"

namespace vokari {

HeaderField request_headers[kHeaderCount];

namespace {

const char kMakotoPrefix[] = "MAKOTO/2.0 200 OK\r\nString: ";
const char kSaoriPrefix[] = "SAORI/1.0 200 OK\r\nResult: ";
const char kVersionResponse[] = "SAORI/1.0 200 OK";
const char kResponseSuffix[] = "\r\nCharset: Shift_JIS\r\n\r\n";

struct FirstLine {
    std::string command;   // the first line without its last word
    bool is_saori = false; // the last word begins with "SAORI"
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

// Fills request_headers from the lines of `text`, in order, until a line
// without a line feed after it, a blank line, a line without a colon, or the
// 8th header.
void parse_headers(const char* text) {
    for (HeaderField& field : request_headers) {
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
bool security_allows() {
    if (settings.security_high == 0) return true;
    std::string level = "Local";
    for (const HeaderField& field : request_headers) {
        if (field.name == "SecurityLevel") {
            level = field.value;
            break;
        }
    }
    return level == "Local" || level == "local";
}

// The normal path: the script is translated and scanned for the voice, the
// untranslated copy gets the wait tags and goes back, and the voice plays.
void process_script(std::string& response, bool is_saori) {
    std::string script = get_header(is_saori ? "Argument0" : "String");
    std::string reply = script;
    apply_translation(script);
    const std::int64_t total_ms = scan_script(script);
    insert_waits(reply, total_ms);
    if (total_ms != 0) render_and_play(total_ms);
    response = is_saori ? kSaoriPrefix : kMakotoPrefix;
    response += reply;
}

void dispatch_request(const char* text, std::string& response, const FirstLine& first) {
    reset_request_state();
    parse_headers(text);
    if (security_allows()) {
        if (first.is_saori && first.command == "GET Version") response = kVersionResponse;
        else process_script(response, first.is_saori);
        return;
    }
    response = first.is_saori ? kSaoriPrefix : kMakotoPrefix;
    response += get_header(first.is_saori ? "Argument0" : "String");
}

}  // namespace

// request_copy: the NUL-terminated request text.  Leaves the complete
// response, ending in "\r\nCharset: Shift_JIS\r\n\r\n", in `response`.
void handle_request(char* request_copy, std::string& response) {
    const char* text = request_copy;
    const FirstLine first = detect_protocol(split_first_line(text));
    dispatch_request(text, response, first);
    response += kResponseSuffix;
}

// Empties every header and resets the per-request voice state.
void reset_request_state() {
    for (HeaderField& field : request_headers) {
        field.name.clear();
        field.value.clear();
    }
    wav_output_spec.clear();
    wav_output_silent = 0;
    pitch_step_size = 1.0;
}

// The value of the first header named exactly `name` (case matters), or "".
std::string get_header(const char* name) {
    for (const HeaderField& field : request_headers)
        if (field.name == name) return field.value;
    return std::string();
}

}  // namespace vokari
