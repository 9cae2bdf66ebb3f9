// bundled_voice_speech: has the module (libvokari.so natively, vokari.dll
// under wine) speak a two-speaker sentence with a copy of a bundled voice and
// keeps the WAV it saves, so that the two builds can be compared byte for
// byte.
//
//   bundled_voice_speech <library> <voice folder> <work folder> [<reference WAV>]
//
// Without a reference the speech is left in <work folder>/speech.wav.  With
// one, the speech must equal it: exit 0 alike, 1 different or not spoken,
// 77 when the reference does not exist (the native tests make it; run them
// first).
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "host_check/host_module.h"

namespace fs = std::filesystem;

namespace {

std::string read_file(const fs::path& path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(path.string().c_str(), "rb")) {
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
        std::fclose(file);
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: bundled_voice_speech <library> <voice folder> <work folder> [<reference WAV>]\n");
        return 2;
    }
    const fs::path voice = host_check::path_from_argument(argv[2]);
    const fs::path work = host_check::path_from_argument(argv[3]);
    std::string reference;
    if (argc == 5) {
        reference = read_file(host_check::path_from_argument(argv[4]));
        if (reference.empty()) {
            std::printf("no reference speech at %s: the native tests make it; run them first\n", argv[4]);
            return 77;
        }
    }
    // A copy: the module writes its log and the WAV into its folder.
    const fs::path copy = work / (argc == 5 ? "voice-compared" : "voice-reference");
    std::error_code error;
    fs::remove_all(copy, error);
    fs::create_directories(work, error);
    // Into a folder that does not exist yet: MinGW's copy refuses an existing one.
    fs::copy(voice, copy, fs::copy_options::recursive, error);
    if (error) {
        std::printf("FAILED: cannot copy %s: %s\n", argv[2], error.message().c_str());
        return 1;
    }
    host_check::HostModule module;
    if (!module.open(host_check::path_from_argument(argv[1]))) {
        std::printf("FAILED: %s\n", module.error().c_str());
        return 1;
    }
    module.load(copy.string());
    // \0こんにちは、さくらです。\1やあ、げんき？ in Shift_JIS, saved and not played.
    const std::string script =
        "\\0\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd\x81\x41\x82\xb3\x82\xad\x82\xe7\x82\xc5\x82\xb7\x81\x42"
        "\\1\x82\xe2\x82\xa0\x81\x41\x82\xb0\x82\xf1\x82\xab\x81\x48@wavouts[speech.wav]\\e";
    module.request("NOTIFY MAKOTO/2.0\r\nCharset: Shift_JIS\r\nString: " + script + "\r\n\r\n");
    module.unload();
    const std::string speech = read_file(copy / "speech.wav");
    if (speech.size() <= 58 + 22050 / 2) {
        std::printf("FAILED: the module saved %zu bytes of speech\n", speech.size());
        return 1;
    }
    if (argc == 4) {
        std::FILE* out = std::fopen((work / "speech.wav").string().c_str(), "wb");
        const bool written = out != nullptr && std::fwrite(speech.data(), 1, speech.size(), out) == speech.size();
        if (out != nullptr) std::fclose(out);
        std::printf("%s: %zu bytes of speech\n", written ? "ok" : "FAILED", speech.size());
        return written ? 0 : 1;
    }
    const bool alike = speech == reference;
    std::printf("%s: %zu bytes of speech, %s the reference's %zu\n", alike ? "ok" : "FAILED", speech.size(),
                alike ? "the same as" : "unlike", reference.size());
    return alike ? 0 : 1;
}
