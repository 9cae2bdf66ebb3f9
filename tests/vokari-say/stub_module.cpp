// A stand-in for the module library with the same three exports, so that the
// command-line tests can see exactly what vokari-say hands over.  It records
// into the folder named by the environment variable VOKARI_SAY_STUB_RECORDS:
//   "stub-calls.txt"    one line per call: "load <directory>" or "unload"
//   "stub-request.bin"  the bytes of the last request, as received
// and answers MAKOTO/2.0 or SAORI/1.0 with the script it was given, minus a
// sound-file tag "@wavout[name]" / "@wavouts[name]" (any prefix byte), after
// which it writes a 0.1 s WAV file `name` into its module directory.  The
// script holding "STUB-NO-RESPONSE" gets no response block at all.
//
// It also stands in for the sound library that vokari-say asks for a sound
// device: there is one unless STUB_NO_SOUND_DEVICE is set.  Found under the
// name libportaudio.so.2 by the real module, it records every stream the
// module opens to play ("play" in "stub-calls.txt") and refuses it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string g_directory;  // the module directory, with '/' separators

void write_to(const std::string& path, const std::string& bytes, const char* mode) {
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (file == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// The stub's sound: the 58-byte mu-law WAV header and 2205 samples.
std::string stub_wav() {
    const unsigned samples = 2205;
    auto le32 = [](unsigned v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    std::string wav = "RIFF" + le32(samples + 50) + "WAVEfmt " + le32(18);
    wav += std::string("\x07\x00\x01\x00", 4) + le32(22050) + le32(22050) + std::string("\x01\x00\x08\x00\x00\x00", 6);
    wav += "fact" + le32(4) + le32(samples) + "data" + le32(samples);
    for (unsigned i = 0; i < samples; ++i) wav += static_cast<char>(i % 40 < 20 ? 0x20 : 0xA0);
    return wav;
}

// Removes a sound-file tag from `script` and writes the file it names.
void take_sound_file_tag(std::string& script) {
    for (const char* name : {"wavouts[", "wavout["}) {
        const size_t at = script.find(name);
        if (at == std::string::npos || at == 0) continue;
        const size_t open = at + std::strlen(name);
        const size_t close = script.find(']', open);
        if (close == std::string::npos) continue;
        const std::string file = script.substr(open, close - open);
        script.erase(at - 1, close + 1 - (at - 1));
        write_to(g_directory + "/" + file, stub_wav(), "wb");
        return;
    }
}

std::string header_value(const std::string& request, const std::string& name) {
    const size_t at = request.find("\r\n" + name + ": ");
    if (at == std::string::npos) return "";
    const size_t start = at + name.size() + 4;
    return request.substr(start, request.find("\r\n", start) - start);
}

void record(const char* name, const std::string& bytes, const char* mode) {
    const char* folder = std::getenv("VOKARI_SAY_STUB_RECORDS");
    if (folder != nullptr) write_to(std::string(folder) + "/" + name, bytes, mode);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int load(void* h, long len) {
    const std::string directory(static_cast<const char*>(h), static_cast<size_t>(len));
    std::free(h);
    record("stub-calls.txt", "load " + directory + "\n", "ab");
    g_directory = directory;
    for (char& c : g_directory)
        if (c == '\\') c = '/';
    return 1;
}

extern "C" __attribute__((visibility("default"))) void* request(void* h, long* len) {
    const std::string request_bytes(static_cast<const char*>(h), static_cast<size_t>(*len));
    std::free(h);
    record("stub-request.bin", request_bytes, "wb");

    const bool saori = request_bytes.substr(0, request_bytes.find("\r\n")).find("SAORI/1.0") != std::string::npos;
    std::string script = header_value(request_bytes, saori ? "Argument0" : "String");
    if (script.find("STUB-NO-RESPONSE") != std::string::npos) {
        *len = 0;
        return nullptr;
    }
    take_sound_file_tag(script);
    const std::string response = (saori ? "SAORI/1.0 200 OK\r\nResult: " : "MAKOTO/2.0 200 OK\r\nString: ") + script +
                                 "\r\nCharset: Shift_JIS\r\n\r\n";
    void* block = std::malloc(response.size());
    std::memcpy(block, response.data(), response.size());
    *len = static_cast<long>(response.size());
    return block;
}

extern "C" __attribute__((visibility("default"))) int unload() {
    record("stub-calls.txt", "unload\n", "ab");
    return 1;
}

extern "C" __attribute__((visibility("default"))) int Pa_Initialize() { return 0; }
extern "C" __attribute__((visibility("default"))) int Pa_Terminate() { return 0; }
extern "C" __attribute__((visibility("default"))) int Pa_GetDefaultOutputDevice() {
    return std::getenv("STUB_NO_SOUND_DEVICE") != nullptr ? -1 : 0;
}
extern "C" __attribute__((visibility("default"))) int Pa_OpenDefaultStream(void**, int, int, unsigned long, double,
                                                                           unsigned long, void*, void*) {
    record("stub-calls.txt", "play\n", "ab");
    return -1;
}
extern "C" __attribute__((visibility("default"))) int Pa_StartStream(void*) { return -1; }
extern "C" __attribute__((visibility("default"))) int Pa_AbortStream(void*) { return 0; }
extern "C" __attribute__((visibility("default"))) int Pa_CloseStream(void*) { return 0; }
