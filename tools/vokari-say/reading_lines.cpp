// Scripts sent as reading requests, and their answers as lines of morae.
#include "tools/vokari-say/reading_lines.h"

namespace vokari {
namespace say {

std::string build_reading_request(const std::string& silent_tag, const std::string& script_cp932, bool pitch,
                                  bool timing) {
    std::string request = "GET Reading SAORI/1.0\r\nSender: vokari-say\r\nSecurityLevel: Local\r\n";
    if (pitch) request += "Argument1: pitch\r\n";
    if (timing) request += "Argument1: timing\r\n";
    request += "Charset: Shift_JIS\r\nArgument0: ";
    request += silent_tag;
    request += script_cp932;
    request += "\r\n\r\n";
    return request;
}

std::vector<std::string> scripts_per_line(const std::string& text) {
    std::vector<std::string> scripts;
    std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        scripts.push_back(line);
        start = end + 1;
    }
    return scripts;
}

}  // namespace say
}  // namespace vokari
