// Reading scripts and request files.
#include "tools/vokari-say/script_input.h"

#include <cerrno>
#include <cstring>

namespace vokari {
namespace say {

ReadResult read_input(const std::string& path) {
    ReadResult result;
    const bool is_stdin = path == "-";
    std::FILE* file = is_stdin ? stdin : std::fopen(path.c_str(), "rb");
    const std::string name = is_stdin ? "standard input" : "'" + path + "'";
    if (file == nullptr) {
        result.error = "cannot open " + name + ": " + std::strerror(errno);
        return result;
    }
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) result.bytes.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    const int read_errno = errno;
    if (!is_stdin) std::fclose(file);
    if (failed) {
        result.error = "cannot read " + name + ": " + std::strerror(read_errno);
        return result;
    }
    result.ok = true;
    return result;
}

std::string script_from_text(const std::string& text) {
    size_t begin = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    size_t end = text.size();
    while (end > begin && (text[end - 1] == '\n' || text[end - 1] == '\r')) --end;
    std::string script;
    for (size_t i = begin; i < end; ++i) {
        if (text[i] == '\r' && i + 1 < end && text[i + 1] == '\n') continue;
        if (text[i] == '\n' || text[i] == '\r') script += "\\n";
        else script += text[i];
    }
    return script;
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
