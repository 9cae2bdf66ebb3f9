// A whole request: any bytes as the request text, handed to the request entry
// point the way the host hands it over, against the fixture voice with the
// request log on.  Every request must get a well-formed 200 response.
#include <cstdint>
#include <cstring>
#include <string>

#include "vokari.h"
#include "base/module_paths.h"
#include "platform/platform.h"
#include "support/fuzz_voice.h"

namespace {

const std::string kSuffix = "\r\nCharset: Shift_JIS\r\n\r\n";

bool starts_with(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

bool is_well_formed(const std::string& response) {
    if (response.size() < kSuffix.size() ||
        response.compare(response.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
        return false;
    return starts_with(response, "MAKOTO/2.0 200 OK\r\nString: ") ||
           starts_with(response, "SAORI/1.0 200 OK\r\nResult: ") || response == "SAORI/1.0 200 OK" + kSuffix;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz_support::FuzzVoice voice("fuzz-request");
    void* block = vokari::platform::global_alloc(size);
    fuzz_support::require(block != nullptr, "a block for the request");
    if (size > 0) std::memcpy(block, data, size);
    long length = static_cast<long>(size);
    HGLOBAL response = request(static_cast<HGLOBAL>(block), &length);
    fuzz_support::require(response != nullptr && length > 0, "a response block");
    const std::string text(static_cast<const char*>(response), static_cast<std::size_t>(length));
    vokari::platform::global_free(response);
    fuzz_support::require(is_well_formed(text), "a 200 response ending in the Charset line");
    voice.tidy_after_request();
    return 0;
}
