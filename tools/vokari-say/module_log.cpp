// Picking the problems out of the request log.
#include "tools/vokari-say/module_log.h"

#include "tools/vokari-say/text_encoding.h"

namespace vokari {
namespace say {

std::vector<std::string> module_problems(const std::string& log, const std::string& private_dir,
                                         const std::string& voice_dir) {
    std::vector<std::string> problems;
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        if (end == std::string::npos) end = log.size();
        std::string line = log.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("WARNING : ", 0) != 0 && line.rfind("ERROR : ", 0) != 0) continue;
        const Converted readable = cp932_to_utf8(line);
        if (readable.ok) line = readable.text;
        // The private folder's name is plain ASCII, so it reads the same in both encodings.
        const std::string private_prefix = private_dir + "\\";
        for (size_t at = line.find(private_prefix); !private_dir.empty() && at != std::string::npos;
             at = line.find(private_prefix, at + voice_dir.size() + 1))
            line.replace(at, private_prefix.size(), voice_dir + "/");
        problems.push_back(line);
    }
    return problems;
}

}  // namespace say
}  // namespace vokari
