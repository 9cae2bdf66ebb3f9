// The analyser's last error message, which its MeCab copy keeps in the C
// interface file that the build leaves out.  One buffer: the module reads
// one script at a time.
#include <cstring>

namespace {
constexpr std::size_t kErrorBufferSize = 256;
char error_buffer[kErrorBufferSize];
}  // namespace

const char* getGlobalError() { return error_buffer; }

void setGlobalError(const char* text) {
    std::strncpy(error_buffer, text, kErrorBufferSize - 1);
    error_buffer[kErrorBufferSize - 1] = '\0';
}
