// Picking the problems out of the request log.
#include "tools/vokari-say/module_log.h"

#include "tools/vokari-say/text_encoding.h"

namespace vokari {
namespace say {
namespace {

bool ends_with(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::vector<std::string> module_problems(const std::string& log, const std::string& private_dir,
                                         const std::string& voice_dir) {
    std::vector<std::string> problems;
    // The dictionaries' group: a line per file, then a line "Done.".
    bool in_dictionaries = false;
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        if (end == std::string::npos) end = log.size();
        std::string line = log.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "// Now loading translate data.") in_dictionaries = true;
        else if (line == "Done.") in_dictionaries = false;
        const bool unread_dictionary =
            in_dictionaries && (ends_with(line, "...Can't open file.") || ends_with(line, "...Path too long."));
        if (!unread_dictionary && line.rfind("WARNING : ", 0) != 0 && line.rfind("ERROR : ", 0) != 0) continue;
        const Converted readable = cp932_to_utf8(line);
        if (readable.ok) line = readable.text;
        // The private folder's name is plain ASCII, so it reads the same in both encodings.
        const std::string private_prefix = private_dir + "\\";
        for (size_t at = line.find(private_prefix); !private_dir.empty() && at != std::string::npos;
             at = line.find(private_prefix, at + voice_dir.size() + 1))
            line.replace(at, private_prefix.size(), voice_dir + "/");
        problems.push_back(unread_dictionary ? "a dictionary named in vokari.txt: " + line : line);
    }
    return problems;
}

}  // namespace say
}  // namespace vokari
