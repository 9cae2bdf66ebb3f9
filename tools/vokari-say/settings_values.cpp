// The settings that vokari-say needs, read line by line as the module reads them.
#include "tools/vokari-say/settings_values.h"

#include "base/config_line.h"
#include "base/shift_jis.h"
#include "base/text_routines.h"
#include "tools/vokari-say/script_input.h"
#include "vokari_voice_format.h"

namespace vokari {
namespace say {

std::vector<std::string> setting_values(const std::string& settings, const std::string& key) {
    // As the module's text-mode read sees the file: nothing past a 0x1A, and
    // line ends without their carriage return.
    const std::string text = settings.substr(0, settings.find('\x1A'));
    std::vector<std::string> values;
    std::vector<char> content;
    for (size_t line_start = 0; line_start < text.size();) {
        size_t line_end = text.find('\n', line_start);
        if (line_end == std::string::npos) line_end = text.size();
        std::string line = text.substr(line_start, line_end - line_start);
        line_start = line_end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!vokari::config_line_content(line, content)) continue;
        const auto split = vokari::split_key_value(content.data());
        if (split && split->key == key) values.push_back(split->value);
    }
    return values;
}

std::string read_settings_text(const std::string& module_dir) {
    const ReadResult settings = read_input(module_dir + "/" + vokari::kSettingsFileName);
    return settings.ok ? settings.bytes : std::string();
}

char tag_prefix_of(const std::string& settings) {
    const std::vector<std::string> values = setting_values(settings, vokari::kSettingsKeys[vokari::kTagPrefixKey]);
    if (values.empty()) return '@';
    // The module ignores a prefix line whose byte starts a two-byte character
    // the way its script scanner pairs bytes (every byte from 0x80 outside the
    // half-width katakana 0xA1-0xDF); a full-width "＠" is the usual slip.
    // The prefix of an earlier line, or '@', stays.
    for (auto value = values.rbegin(); value != values.rend(); ++value) {
        if (value->empty()) return '\0';
        const unsigned char first = static_cast<unsigned char>((*value)[0]);
        if (!vokari::starts_script_pair(first)) return (*value)[0];
    }
    return '@';
}

int talk_default_speed_of(const std::string& settings) {
    const std::vector<std::string> values = setting_values(settings, vokari::kSettingsKeys[vokari::kTalkSpeedKey]);
    return values.empty() ? 130 : vokari::string_to_int(values.back().c_str());
}

}  // namespace say
}  // namespace vokari
