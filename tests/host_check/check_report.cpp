// Failure messages of host_check.
#include "check_report.h"

#include <cstdio>

namespace host_check {

bool Report::check(bool ok, const std::string& name, const std::string& detail) {
    if (ok) {
        ++passed_;
        return true;
    }
    ++failed_;
    std::printf("FAIL %s%s%s\n", name.c_str(), detail.empty() ? "" : ": ", detail.c_str());
    std::fflush(stdout);
    return false;
}

std::string printable(const std::string& bytes, std::size_t limit) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '\r') text += "\\r";
        else if (c == '\n') text += "\\n";
        else if (c >= 0x20 && c < 0x7F) text += static_cast<char>(c);
        else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            text += hex;
        }
    }
    if (bytes.size() > limit) text += "...";
    return text;
}

std::string difference(const std::string& expected, const std::string& actual) {
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
    const std::size_t from = at > 40 ? at - 40 : 0;
    return "first difference at byte " + std::to_string(at) + " (expected " + std::to_string(expected.size()) +
           " bytes, got " + std::to_string(actual.size()) + ")\n  expected: " + printable(expected.substr(from), 160) +
           "\n  actual:   " + printable(actual.substr(from), 160);
}

}  // namespace host_check
