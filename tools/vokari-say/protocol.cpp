// Request composition and response parsing for MAKOTO/2.0 and SAORI/1.0.
#include "tools/vokari-say/protocol.h"

namespace vokari {
namespace say {

std::string build_request(const std::string& script, Protocol protocol) {
    const bool saori = protocol == Protocol::Saori;
    std::string request = saori ? "EXECUTE SAORI/1.0\r\n" : "EXECUTE MAKOTO/2.0\r\n";
    request += "Sender: vokari-say\r\n";
    request += "SecurityLevel: Local\r\n";
    request += "Charset: Shift_JIS\r\n";
    request += saori ? "Argument0: " : "String: ";
    request += script;
    request += "\r\n\r\n";
    return request;
}

std::string build_reading_request(const std::string& silent_tag, const std::string& script_cp932, bool pitch,
                                  bool timing) {
    std::string request = "GET Reading SAORI/1.0\r\nSender: vokari-say\r\nSecurityLevel: Local\r\n";
    if (pitch) request += "Argument1: pitch\r\n";
    if (timing) request += "Argument1: timing\r\n";
    return request + "Charset: Shift_JIS\r\nArgument0: " + silent_tag + script_cp932 + "\r\n\r\n";
}

Reply parse_response(const std::string& response) {
    Reply reply;
    const size_t status_end = response.find("\r\n");
    const std::string status = response.substr(0, status_end);
    if (status.find(" 200 ") == std::string::npos) {
        reply.error = status.empty() ? "the module gave an empty response" : "the module answered '" + status + "'";
        return reply;
    }
    for (size_t line_start = status_end; line_start != std::string::npos && line_start < response.size();) {
        line_start += 2;
        const size_t line_end = response.find("\r\n", line_start);
        const std::string line = response.substr(line_start, line_end - line_start);
        const size_t colon = line.find(':');
        const std::string name = colon == std::string::npos ? "" : line.substr(0, colon);
        if (name == "String" || name == "Result") {
            const size_t value_start = line.find_first_not_of(' ', colon + 1);
            reply.script = value_start == std::string::npos ? "" : line.substr(value_start);
            reply.ok = true;
            return reply;
        }
        line_start = line_end;
    }
    reply.error = "the module's response holds no script (no String or Result header)";
    return reply;
}

}  // namespace say
}  // namespace vokari
