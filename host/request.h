// Request handling: protocol detection, headers, the security gate and the
// composition of the response.  Every text is a Shift_JIS byte string held in
// std::string.
#pragma once

#include <string>
#include <vector>

namespace vokari {

struct HeaderField {
    std::string name;
    std::string value;
};

constexpr int kHeaderCount = 8;
extern HeaderField request_headers[kHeaderCount];

// Turns the NUL-terminated request copy (edited in place) into the complete
// response, ending in "\r\nCharset: Shift_JIS\r\n\r\n".
void handle_request(char* request_copy, std::string& response);

// Empties the headers and the per-request voice state (wav_output_spec,
// wav_output_silent, pitch_step_size).
void reset_request_state();

// Value of the first header named exactly `name`; empty when none.
std::string get_header(const char* name);

}  // namespace vokari
