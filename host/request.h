// Request handling: protocol detection, headers, the security gate and the
// composition of the response.  Every text is a Shift_JIS byte string held in
// std::string.
#pragma once

#include <cstdint>
#include <string>

#include "host/module.h"
#include "translate/timeline.h"

namespace vokari {

struct HeaderField {
    std::string name;
    std::string value;
};

constexpr int kHeaderCount = 8;

// What one request works on besides its module: its headers and the
// timeline its script is scanned into.
struct RequestState {
    HeaderField headers[kHeaderCount];
    Timeline timeline;

    // Value of the first header named exactly `name`; empty when none.
    std::string header(const char* name) const;
};

// Turns the NUL-terminated request copy into the complete response, ending in
// "\r\nCharset: Shift_JIS\r\n\r\n", with `module`; speaks the script.
// `state` receives the request's headers and timeline.
void handle_request(Module& module, RequestState& state, const char* request_copy, std::string& response);
// The same with a request state of its own.
void handle_request(Module& module, const char* request_copy, std::string& response);

// handle_request between the request log's two blocks: the request as it
// came, then the response with the milliseconds since `start_ms` (the tick
// count when the request arrived).
void handle_logged_request(Module& module, RequestState& state, const char* request_copy, std::uint32_t start_ms,
                           std::string& response);

}  // namespace vokari
