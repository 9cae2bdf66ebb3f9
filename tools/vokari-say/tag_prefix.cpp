// A small reader for the one setting that vokari-say needs.
#include "tools/vokari-say/tag_prefix.h"

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

char read_tag_prefix(const std::string& module_dir) {
    const ReadResult settings = read_input(module_dir + "/vokari.txt");
    char prefix = '@';
    if (!settings.ok) return prefix;
    size_t line_start = 0;
    while (line_start < settings.bytes.size()) {
        size_t line_end = settings.bytes.find('\n', line_start);
        if (line_end == std::string::npos) line_end = settings.bytes.size();
        std::string line = settings.bytes.substr(line_start, line_end - line_start);
        line_start = line_end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t comma = line.find(',');
        if (line.compare(0, 2, "//") == 0 || comma == std::string::npos) continue;
        if (trimmed(line.substr(0, comma)) != "tag.prefix") continue;
        std::string value = line.substr(comma + 1);
        for (size_t slash = value.find("//"); slash != std::string::npos; slash = value.find("//", slash + 2)) {
            if (slash > 0 && (value[slash - 1] == ' ' || value[slash - 1] == '\t')) {
                value.resize(slash);
                break;
            }
        }
        value = trimmed(value);
        prefix = value.empty() ? '\0' : value[0];
    }
    return prefix;
}

}  // namespace vokari_say
