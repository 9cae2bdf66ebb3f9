// The host's message speed: found in the host's profile files, which lie in the
// host's base directory two levels above the character that holds the module.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/module_paths.h"
#include "base/text_routines.h"
#include "voice_data/request_log.h"
#include "platform/platform.h"
#include "voice_data/loaded_voice.h"
#include "voice_data/message_speed.h"
#include "voice_data/phoneme_bank.h"
#include "voice_data/config_text.h"
#include "voice_data/settings.h"

namespace vokari {

namespace {

const char* const kHostProfileFiles[] = {"\\data\\profile\\app.dat", "\\profile\\mainform.txt"};

// Byte index of the last backslash of `text` that is a character of its own
// (not the trail byte of a Shift_JIS character), or npos.
std::size_t find_last_backslash(const std::string& text) {
    const std::size_t length = std::strlen(text.c_str());
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < length; i += sjis_char_size(text.data(), i, length))
        if (text[i] == '\\') found = i;
    return found;
}

// The host's base directory for the module directory `dir`: cut before
// "\\ghost\\master", then drop the last two path components.
std::string host_base_directory(const char* dir) {
    std::string base = dir;
    int ghost = find_from(base, 0, "\\ghost\\master");
    if (ghost >= 0) base.resize(static_cast<std::size_t>(ghost));
    for (int i = 0; i < 2; ++i) {
        std::size_t slash = find_last_backslash(base);
        if (slash != std::string::npos) base.resize(slash);
    }
    return base;
}

bool equals_ignoring_ascii_case(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        unsigned char x = static_cast<unsigned char>(*a);
        unsigned char y = static_cast<unsigned char>(*b);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return *a == *b;
}

// `speed` × 4 / 3 truncated toward zero, limited to the int range.
int scale_message_speed(int speed) {
    std::int64_t scaled = static_cast<std::int64_t>(speed) * 4 / 3;
    if (scaled > INT32_MAX) return INT32_MAX;
    if (scaled < INT32_MIN) return INT32_MIN;
    return static_cast<int>(scaled);
}

}  // namespace

// Reads the host's message speed (ms per character) from its two profile
// files, logs it, and stores it scaled by 4/3 in settings.message_speed.
void discover_message_speed(LoadedVoice& voice) {
    Settings& settings = voice.settings;
    log_line(voice.settings, LogLine::LoadingMessageSpeed);
    std::string base = host_base_directory(voice.module_dir);
    for (const char* file : kHostProfileFiles) {
        std::string path = base + file;
        if (path.size() < kPathCapacity) {
            // A later file's value wins; a file without one changes nothing.
            if (const std::optional<int> speed = read_message_speed(voice, path.c_str()))
                settings.message_speed = *speed;
        } else {
            // Refused like every path that does not fit the module's buffers.
            log_line(voice.settings, LogLine::PathTooLong, {path});
        }
    }
    log_line(voice.settings, LogLine::MessageSpeed, {int_to_decimal(settings.message_speed)});
    settings.message_speed = scale_message_speed(settings.message_speed);
}

// The value of the first "messagespeed" line of `path` (ms per character,
// unscaled); logs the path and outcome.
std::optional<int> read_message_speed(const LoadedVoice& voice, const char* path) {
    platform::ScopedFile file(platform::open_file(path, "rt"));
    log_label(voice.settings, LogLine::FileRead, {path});
    if (!file) {
        log_rest(voice.settings, LogLine::FileUnreadable);
        return std::nullopt;
    }
    std::optional<int> speed;
    std::string line;
    while (read_line(file.get(), line) != -1) {
        strip_last_char(line, '\n');
        if (line.empty()) continue;
        const auto split = split_key_value(line.c_str());
        if (split && equals_ignoring_ascii_case(split->key.c_str(), "messagespeed")) {
            speed = string_to_int(split->value.c_str());
            break;
        }
    }
    file.reset();
    log_rest(voice.settings, LogLine::FileRead);
    return speed;
}

}  // namespace vokari
