// Telling UTF-8 from Shift_JIS and converting Shift_JIS to UTF-8.
#pragma once

#include <string>

namespace voicebank {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates).
bool is_valid_utf8(const std::string& bytes);

// Converts Shift_JIS (code page 932) `bytes` to UTF-8.  False when they are
// not valid Shift_JIS.
bool shift_jis_to_utf8(const std::string& bytes, std::string& utf8);

}  // namespace voicebank
