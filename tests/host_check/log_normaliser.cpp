#include "log_normaliser.h"

#include <regex>

namespace host_check {

std::string normalised_log(const std::string& log, const std::string& module_path) {
    std::string text = std::regex_replace(log, std::regex(R"(: \d\d/\d\d/\d\d \d\d:\d\d:\d\d)"), ": MM/DD/YY HH:MM:SS");
    text = std::regex_replace(text, std::regex(R"(\[execute time = \d+ms\])"), "[execute time = Nms]");
    for (std::size_t at; !module_path.empty() && (at = text.find(module_path)) != std::string::npos;)
        text.replace(at, module_path.size(), "<moddir>");
    return text;
}

}  // namespace host_check
