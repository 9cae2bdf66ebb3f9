// Command-line parsing: long options with "=value" or a separate value, short
// options with a separate value, "--" ends the options.
#include "tools/vokari-say/options.h"

#include <cstdlib>

namespace vokari {
namespace say {
namespace {

struct OptionRule {
    const char* long_name;
    char short_name;  // 0 when there is none
    bool takes_value;
};

const OptionRule kOptions[] = {
    {"file", 'f', true},     {"module-dir", 'm', true}, {"library", 'L', true},       {"output", 'o', true},
    {"svg", 0, true},        {"raw", 'r', true},        {"message-speed", 's', true}, {"saori", 0, false},
    {"no-play", 'n', false}, {"no-wait", 'W', false},   {"pace", 'p', false},         {"help", 'h', false},
    {"encoding", 'e', true}, {"reading", 0, false},     {"each-line", 0, false},      {"pitch", 0, false},
    {"timing", 0, false},
};

// The rule of the option `name` (without its dashes), long or short.
const OptionRule* find_rule(const std::string& name, bool is_long) {
    for (const OptionRule& rule : kOptions)
        if (is_long ? name == rule.long_name : name.size() == 1 && rule.short_name != 0 && name[0] == rule.short_name)
            return &rule;
    return nullptr;
}

// Stores one option into `options`; returns an error message or "".
std::string apply(const OptionRule& rule, const std::string& value, Options& options) {
    const std::string name = rule.long_name;
    if (name == "file") options.script_file = value;
    else if (name == "module-dir") options.module_dir = value;
    else if (name == "library") options.library = value;
    else if (name == "output") options.output_wav = value;
    else if (name == "svg") options.svg_file = value;
    else if (name == "raw") options.raw_file = value;
    else if (name == "saori") options.protocol = Protocol::Saori;
    else if (name == "no-play") options.play = false;
    else if (name == "no-wait") options.wait = false;
    else if (name == "pace") options.pace = true;
    else if (name == "help") options.help = true;
    else if (name == "reading") options.reading = true;
    else if (name == "each-line") options.each_line = true;
    else if (name == "pitch") options.pitch = true;
    else if (name == "timing") options.timing = true;
    else if (name == "encoding") {
        if (value == "auto") options.encoding = ScriptEncoding::Detect;
        else if (value == "utf-8" || value == "utf8") options.encoding = ScriptEncoding::Utf8;
        else if (value == "shift_jis" || value == "sjis" || value == "cp932")
            options.encoding = ScriptEncoding::ShiftJis;
        else return "--encoding wants auto, utf-8 or shift_jis, not '" + value + "'";
    } else if (name == "message-speed") {
        char* end = nullptr;
        const long ms = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || ms < 0 || ms > 10000)
            return "--message-speed wants a whole number of milliseconds from 0 to 10000, not '" + value + "'";
        options.message_speed_ms = static_cast<int>(ms);
    }
    if (rule.takes_value && value.empty()) return "--" + name + " wants a non-empty value";
    return "";
}

// The combinations that make no sense together.
std::string check_combination(const Options& o) {
    const int sources = (o.script_given ? 1 : 0) + (o.script_file.empty() ? 0 : 1) + (o.raw_file.empty() ? 0 : 1);
    if (sources > 1) return "give the script either as arguments, with --file or with --raw, not several";
    if (!o.raw_file.empty() &&
        (!o.output_wav.empty() || !o.svg_file.empty() || o.pace || o.protocol == Protocol::Saori))
        return "--raw sends the request as it is; it cannot be combined with --output, --svg, --pace or --saori";
    if ((o.pitch || o.timing) && !o.reading) return "--pitch and --timing go with --reading";
    if (o.pitch && o.timing) return "--pitch or --timing, not both";
    if (o.each_line && (!o.reading || o.script_file.empty())) return "--each-line goes with --reading and --file";
    if (o.reading && (!o.raw_file.empty() || !o.output_wav.empty() || !o.svg_file.empty() || o.pace))
        return "--reading only prints; it cannot be combined with --raw, --output, --svg or --pace";
    if (!o.output_wav.empty() && o.output_wav == o.svg_file) return "--output and --svg name the same file";
    return "";
}

// The help's words for the files of this system.
#ifdef _WIN32
const char kLibraryDefault[] = "vokari.dll beside this program or one folder up";
const char kPlayback[] = "The module plays through Windows' own sound player.\n";
#else
const char kLibraryDefault[] = "libvokari.so beside this program";
const char kPlayback[] =
    "VOKARI_SAY_PORTAUDIO names the PortAudio library\n"
    "to ask for a sound device (default libportaudio.so.2).\n";
#endif

}  // namespace

ParsedOptions parse_options(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    Options& options = parsed.options;
    std::vector<std::string> words;
    bool options_ended = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (options_ended || arg.size() < 2 || arg[0] != '-') {
            words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options_ended = true;
            continue;
        }
        const bool is_long = arg[1] == '-';
        const size_t equals = is_long ? arg.find('=') : std::string::npos;
        const std::string name = is_long ? arg.substr(2, equals - 2) : arg.substr(1);
        const OptionRule* rule = find_rule(name, is_long);
        if (rule == nullptr) {
            parsed.error = "unknown option '" + arg + "'";
            return parsed;
        }
        std::string value;
        if (equals != std::string::npos) {
            if (!rule->takes_value) {
                parsed.error = "--" + name + " takes no value";
                return parsed;
            }
            value = arg.substr(equals + 1);
        } else if (rule->takes_value) {
            if (i + 1 >= arguments.size()) {
                parsed.error = "option '" + arg + "' needs a value";
                return parsed;
            }
            value = arguments[++i];
        }
        parsed.error = apply(*rule, value, options);
        if (!parsed.error.empty()) return parsed;
    }
    for (const std::string& word : words) {
        if (options.script_given) options.script += ' ';
        options.script += word;
        options.script_given = true;
    }
    parsed.error = check_combination(options);
    parsed.ok = parsed.error.empty();
    return parsed;
}

std::string usage_text(const std::string& program) {
    return "Usage: " + program +
           " [OPTIONS] [SCRIPT...]\n"
           "Speaks a script through the vokari module the way the host application does,\n"
           "and prints the reply script.  The script is UTF-8 text with the host's\n"
           "backslash tags and the module's voice-control tags; without SCRIPT it is read\n"
           "from --file or from standard input, where line breaks become the tag \\n.\n"
           "\n"
           "  -f, --file FILE          read the script from FILE ('-' = standard input)\n"
           "  -e, --encoding ENC       the encoding of FILE or standard input: auto (the\n"
           "                           default: UTF-8 if it is valid UTF-8, else Shift_JIS),\n"
           "                           utf-8 or shift_jis\n"
           "  -m, --module-dir DIR     module directory to load (default: the bundled voice)\n"
           "  -L, --library PATH       module library (default: " +
           kLibraryDefault +
           ")\n"
           "  -o, --output FILE        save the rendered speech as a WAV file\n"
           "  -n, --no-play            do not play the speech\n"
           "  -W, --no-wait            unload at once instead of waiting for the speech to end\n"
           "  -p, --pace               show the reply character by character at the host's pace\n"
           "  -s, --message-speed MS   the host's message speed in ms per character, 0 to\n"
           "                           10000 (default 50); the module reads it from the\n"
           "                           host's profile files and paces its waits by it\n"
           "      --svg FILE           draw the waveform and the moments each character shows\n"
           "      --saori              send SAORI/1.0 (Argument0) instead of MAKOTO/2.0 (String)\n"
           "  -r, --raw FILE           send FILE's bytes unchanged as the request and write the\n"
           "                           response bytes unchanged to standard output\n"
           "      --reading            print what the module says instead of speaking: per\n"
           "                           script one line of hiragana, one token per mora (the\n"
           "                           voice must turn its reading step on)\n"
           "      --pitch              with --reading: each mora with its accent's pitch\n"
           "                           factor (the voice's voice.pitch.accent sets the depth)\n"
           "      --timing             with --reading: each mora of the prosody model with\n"
           "                           its start and length in ms and its pitch in Hz\n"
           "                           (the voice must turn voice.prosody.model on)\n"
           "      --each-line          with --reading and --file: every line is a script (one\n"
           "                           it cannot read is left empty)\n"
           "  -h, --help               show this text\n"
           "\n"
           "The module runs on a private copy of the module directory in a temporary\n"
           "folder, which is removed at the end: nothing is written into the module\n"
           "directory, and it may be read-only.  Its log's WARNING and ERROR lines are\n"
           "printed to standard error.  " +
           kPlayback +
           "\n"
           "Exit status:\n"
           "  0  the script was spoken (played, or only rendered with --no-play), or\n"
           "     --raw got a response\n"
           "  1  failed: nothing was spoken (a message says why)\n"
           "  2  usage error\n"
           "  3  the module replied, but nothing or not all of it was heard: the module\n"
           "     directory holds no samples, a setting mutes the voice, the script has\n"
           "     nothing to say, the speech was cut at the module's size limit, or there\n"
           "     is no sound device (a note says which)\n";
}

}  // namespace say
}  // namespace vokari
