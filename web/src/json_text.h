// Results go from the WebAssembly calls to the page as JSON text.
#pragma once

#include <cstdio>
#include <string>

namespace web {

// Appends `text` to `out` as a JSON string: quotes and backslashes escaped,
// control characters (line feeds of a report, say) as \u00XX, every other
// byte as it is (the texts are UTF-8).
inline void append_json_string(std::string& out, const std::string& text) {
    out += '"';
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

}  // namespace web
