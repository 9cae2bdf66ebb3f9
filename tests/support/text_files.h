// Files read back as text, and the request log with the parts that vary from
// run to run written as the golden logs write them.
#pragma once

#include <cstdint>
#include <regex>
#include <string>
#include <vector>

#include "support/fixture_voice.h"

namespace fixture {

// The bytes of the file at `path` (native separators) as a string; empty when
// it cannot be read.
inline std::string read_text(const std::string& path) {
    const std::vector<std::uint8_t> bytes = read_file(path);
    return std::string(bytes.begin(), bytes.end());
}

// The text file at `path` with its carriage returns dropped, so that it
// compares with single line feeds.
inline std::string read_text_without_cr(const std::string& path) {
    std::string text;
    for (std::uint8_t b : read_file(path))
        if (b != '\r') text += static_cast<char>(b);
    return text;
}

// `log` with dates as MM/DD/YY, times as HH:MM:SS, execute times as N and,
// when `module_dir` is not empty, every occurrence of it as <moddir>.
inline std::string normalised_log(const std::string& log, const std::string& module_dir = {}) {
    std::string text = std::regex_replace(log, std::regex(R"(: \d\d/\d\d/\d\d \d\d:\d\d:\d\d)"), ": MM/DD/YY HH:MM:SS");
    text = std::regex_replace(text, std::regex(R"(\[execute time = \d+ms\])"), "[execute time = Nms]");
    for (std::size_t at; !module_dir.empty() && (at = text.find(module_dir)) != std::string::npos;)
        text.replace(at, module_dir.size(), "<moddir>");
    return text;
}

}  // namespace fixture
