// The settings text read for the programs around the module, with the rules
// and defaults of the module's own settings reader (settings.cpp).
#include <cstdio>

#include "base/config_line.h"
#include "base/text_routines.h"
#include "platform/platform.h"
#include "voice_data/settings.h"
#include "vokari_settings_text.h"
#include "vokari_voice_format.h"

namespace vokari {

std::string read_settings_text(const char* voice_dir) {
    // Joined with '/', which every system takes: a backslash after a folder
    // name ending in a UTF-8 byte that Shift_JIS takes for a lead byte would
    // not be mapped on Linux.
    const std::string path = std::string(voice_dir) + "/" + kSettingsFileName;
    const platform::ScopedFile file(platform::open_file(path.c_str(), "rb"));
    if (file == nullptr) return "";
    std::string bytes;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) bytes.append(buffer, got);
    return bytes;
}

std::vector<std::string> setting_values(const std::string& settings, const char* key) {
    const std::string text = settings.substr(0, settings.find('\x1A'));
    std::vector<std::string> values;
    std::vector<char> content;
    for (std::size_t line_start = 0; line_start < text.size();) {
        std::size_t line_end = text.find('\n', line_start);
        if (line_end == std::string::npos) line_end = text.size();
        std::string line = text.substr(line_start, line_end - line_start);
        line_start = line_end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!config_line_content(line, content)) continue;
        const auto split = split_key_value(content.data());
        if (split && split->key == key) values.push_back(split->value);
    }
    return values;
}

char tag_prefix_setting(const std::string& settings) {
    unsigned char prefix = kDefaultTagPrefix;
    for (const std::string& value : setting_values(settings, kSettingsKeys[kTagPrefixKey]))
        accept_tag_prefix(value.c_str(), prefix);
    return static_cast<char>(prefix);
}

int talk_default_speed_setting(const std::string& settings) {
    const std::vector<std::string> values = setting_values(settings, kSettingsKeys[kTalkSpeedKey]);
    return values.empty() ? kDefaultTalkSpeed : string_to_int(values.back().c_str());
}

}  // namespace vokari
