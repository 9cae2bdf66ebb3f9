// A small reader for the settings that vokari-say needs.
#include "tools/vokari-say/settings_values.h"

#include <cstdlib>

#include "tools/vokari-say/script_input.h"

namespace vokari_say {
namespace {

bool is_blank_at(const std::string& s, size_t i) {
    return s[i] == ' ' || s[i] == '\t' || s.compare(i, 2, "\x81\x40") == 0;
}

// Spaces, tabs and full-width spaces removed from both ends.
std::string trimmed(std::string s) {
    for (;;) {
        if (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
        else if (s.size() >= 2 && s.compare(s.size() - 2, 2, "\x81\x40") == 0) s.resize(s.size() - 2);
        else break;
    }
    size_t start = 0;
    while (start < s.size() && is_blank_at(s, start)) start += s[start] == '\x81' ? 2 : 1;
    return s.substr(start);
}

}  // namespace

std::vector<std::string> setting_values(const std::string& settings, const std::string& key) {
    const std::string text = settings.substr(0, settings.find('\x1A'));
    std::vector<std::string> values;
    size_t line_start = 0;
    while (line_start < text.size()) {
        size_t line_end = text.find('\n', line_start);
        if (line_end == std::string::npos) line_end = text.size();
        std::string line = text.substr(line_start, line_end - line_start);
        line_start = line_end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t comma = line.find(',');
        if (line.compare(0, 2, "//") == 0 || comma == std::string::npos) continue;
        if (trimmed(line.substr(0, comma)) != key) continue;
        std::string value = line.substr(comma + 1);
        for (size_t slash = value.find("//"); slash != std::string::npos; slash = value.find("//", slash + 2)) {
            if (slash > 0 && (value[slash - 1] == ' ' || value[slash - 1] == '\t')) {
                value.resize(slash);
                break;
            }
        }
        values.push_back(trimmed(value));
    }
    return values;
}

std::string read_settings_text(const std::string& module_dir) {
    const ReadResult settings = read_input(module_dir + "/vokari.txt");
    return settings.ok ? settings.bytes : std::string();
}

char tag_prefix_of(const std::string& settings) {
    const std::vector<std::string> values = setting_values(settings, "tag.prefix");
    if (values.empty()) return '@';
    // The module ignores a prefix line whose byte starts a two-byte character
    // the way its script scanner pairs bytes (every byte from 0x80 outside the
    // half-width katakana 0xA1-0xDF); a full-width "＠" is the usual slip.
    // The prefix of an earlier line, or '@', stays.
    for (auto value = values.rbegin(); value != values.rend(); ++value) {
        if (value->empty()) return '\0';
        const unsigned char first = static_cast<unsigned char>((*value)[0]);
        if (first < 0x80 || (first >= 0xA1 && first <= 0xDF)) return (*value)[0];
    }
    return '@';
}

int talk_default_speed_of(const std::string& settings) {
    const std::vector<std::string> values = setting_values(settings, "talk.default.speed");
    return values.empty() ? 130 : std::atoi(values.back().c_str());
}

}  // namespace vokari_say
