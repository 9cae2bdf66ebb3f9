// imported_voice_check: loads the module (libvokari.so natively, vokari.dll
// under wine) on a module folder whose bank vokari-voicebank imported, and
// checks through the three exports that every slot the import mapped was
// loaded and that the module speaks a sentence with it.
//
//   imported_voice_check <library> <module folder>
//
// The folder holds "expected-slots.txt" (written with the bank): the
// module's log pattern of loaded ('o') and absent ('-') slots for each
// sample directory.  Exit 0 passed, 1 failed, 77 when the folder holds no
// imported voice (the native tests write it; run them first).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host_check/host_module.h"
#include "support/text_files.h"

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    if (!ok) ++failures;
}

// The mu-law byte's distance from silence (0xFF and 0x7F are the two zeros).
int magnitude(unsigned char code) { return 0x7F - (code & 0x7F); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: imported_voice_check <library> <module folder>\n");
        return 2;
    }
    const std::string library = host_check::path_from_argument(argv[1]);
    const std::string folder = host_check::path_from_argument(argv[2]);
#ifdef _WIN32
    const std::string separator = "\\";
#else
    const std::string separator = "/";
#endif
    const std::string expected = fixture::read_text(folder + separator + "expected-slots.txt");
    if (expected.empty()) {
        std::printf("no imported voice in %s: the native voicebank tests write it; run them first\n", argv[2]);
        return 77;
    }
    host_check::HostModule module;
    if (!module.open(library)) {
        std::printf("FAILED: %s\n", module.error().c_str());
        return 1;
    }
    std::remove((folder + separator + "imported-check.log").c_str());
    std::remove((folder + separator + "imported-check.wav").c_str());
    check(module.load(folder) == 1, "load returns 1");

    // Every line of the expected file must appear in the load log as is.
    const std::string log = fixture::read_text(folder + separator + "imported-check.log");
    size_t start = 0;
    for (size_t end; (end = expected.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = "reading data from directory " + expected.substr(start, end - start);
        check(log.find(line) != std::string::npos, "log holds \"" + line.substr(0, 60) + "...\"");
    }

    // \0こんにちは、さくらです。 in Shift_JIS, saved to a file and not played.
    const std::string script =
        "\\0\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd\x81\x41\x82\xb3\x82\xad\x82\xe7\x82\xc5\x82\xb7\x81\x42"
        "@wavouts[imported-check.wav]\\e";
    const host_check::Response response =
        module.request("NOTIFY MAKOTO/2.0\r\nCharset: Shift_JIS\r\nString: " + script + "\r\n\r\n");
    check(response.bytes.find("\\_w[") != std::string::npos, "the reply carries wait tags");
    module.unload();

    const std::string wav = fixture::read_text(folder + separator + "imported-check.wav");
    long loud = 0;
    for (size_t i = 58; i < wav.size(); ++i) loud += magnitude(static_cast<unsigned char>(wav[i])) >= 0x30;
    const double seconds = wav.size() > 58 ? (wav.size() - 58) / 22050.0 : 0.0;
    char what[160];
    std::snprintf(what, sizeof what, "the sentence is spoken: %.2f s, %.2f s of it above -30 dB", seconds,
                  loud / 22050.0);
    // Ten syllables of the default speed are about 1.3 s; a third of that
    // clearly voiced rules out silence and stray clicks.
    check(seconds > 0.8 && loud > 22050 * 0.4, what);
    std::remove((folder + separator + "imported-check.wav").c_str());
    std::printf("%s\n", failures == 0 ? "passed" : "failed");
    return failures == 0 ? 0 : 1;
}
