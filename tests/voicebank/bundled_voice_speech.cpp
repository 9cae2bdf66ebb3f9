// bundled_voice_speech: has the module (libvokari.so natively, vokari.dll
// under wine) speak each script of a file with a copy of a bundled voice and
// keeps the WAVs it saves, so that the two builds can be compared byte for
// byte.  Prints the process's memory before load, after load (with the time
// load took) and after the scripts.
//
//   bundled_voice_speech [--without-reading] <library> <voice folder> <scripts file> <work folder> [<reference folder>]
//
// The scripts file holds one Shift_JIS script per line ('#' lines are
// comments).  Without a reference folder the speech of script N is left in
// <work folder>/speech-N.wav.  With one, every WAV must equal the one of the
// same name there: exit 0 all alike, 1 any different or not spoken, 77 when
// the references do not exist (the native tests make them; run them first).
// --without-reading drops the voice's reading-step key from the copy, to
// compare the memory figures.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#endif

#include "host_check/host_module.h"
#include "support/text_files.h"

namespace fs = std::filesystem;

namespace {

bool write_file(const fs::path& path, const std::string& bytes) {
    std::FILE* out = std::fopen(path.string().c_str(), "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}

std::vector<std::string> read_scripts(const fs::path& path) {
    std::vector<std::string> scripts;
    const std::string text = fixture::read_text(path.string());
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] != '#') scripts.push_back(line);
        start = end + 1;
    }
    return scripts;
}

// The voice's settings without the line that turns the reading step on.
void drop_reading_key(const fs::path& settings) {
    const std::string text = fixture::read_text(settings.string());
    std::string kept;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        if (text.compare(start, 18, "voice.reading.dic,") != 0) kept += text.substr(start, end - start);
        start = end;
    }
    write_file(settings, kept);
}

// Private bytes (memory committed to this process alone, as the system's
// address-space walk shows it: wine leaves PrivateUsage at 0), the bytes of
// mapped files and the working set, in kB.
std::string memory_now() {
#ifdef _WIN32
    unsigned long long committed[3] = {};  // private, mapped, image
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;) {
        if (region.State == MEM_COMMIT)
            committed[region.Type == MEM_PRIVATE ? 0 : region.Type == MEM_MAPPED ? 1 : 2] += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at) break;
        at = next;
    }
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return "private " + std::to_string(committed[0] / 1024) + " kB, mapped files " +
           std::to_string(committed[1] / 1024) + " kB, working set " + std::to_string(counters.WorkingSetSize / 1024) +
           " kB";
#else
    // Anonymous resident memory is what the process holds alone; file pages
    // mapped from the dictionary are shared and counted in the resident set.
    const std::string status = fixture::read_text("/proc/self/status");
    auto field = [&](const char* name) {
        const std::size_t at = status.find(name);
        return at == std::string::npos ? std::string("?")
                                       : std::to_string(std::atol(status.c_str() + at + std::string(name).size()));
    };
    return "private " + field("RssAnon:") + " kB, resident " + field("VmRSS:") + " kB";
#endif
}

std::string speech_name(std::size_t index) { return "speech-" + std::to_string(index + 1) + ".wav"; }

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    const bool without_reading = argc > 1 && std::string(argv[1]) == "--without-reading";
    if (without_reading) ++first;
    const int given = argc - first;
    if (given != 4 && given != 5) {
        std::fprintf(stderr,
                     "usage: bundled_voice_speech [--without-reading] <library> <voice folder> <scripts file> "
                     "<work folder> [<reference folder>]\n");
        return 2;
    }
    const fs::path voice = host_check::path_from_argument(argv[first + 1]);
    const std::vector<std::string> scripts = read_scripts(host_check::path_from_argument(argv[first + 2]));
    const fs::path work = host_check::path_from_argument(argv[first + 3]);
    const bool comparing = given == 5;
    const fs::path references = comparing ? fs::path(host_check::path_from_argument(argv[first + 4])) : fs::path();
    if (scripts.empty()) {
        std::printf("FAILED: no scripts in %s\n", argv[first + 2]);
        return 1;
    }
    if (comparing && fixture::read_text((references / speech_name(0)).string()).empty()) {
        std::printf("no reference speech in %s: the native tests make it; run them first\n", argv[first + 4]);
        return 77;
    }
    // A copy: the module writes its log and the WAVs into its folder.
    const fs::path copy = work / (comparing ? "voice-compared" : "voice-reference");
    std::error_code error;
    fs::remove_all(copy, error);
    fs::create_directories(work, error);
    // Into a folder that does not exist yet: MinGW's copy refuses an existing one.
    fs::copy(voice, copy, fs::copy_options::recursive, error);
    if (error) {
        std::printf("FAILED: cannot copy %s: %s\n", argv[first + 1], error.message().c_str());
        return 1;
    }
    if (without_reading) drop_reading_key(copy / "vokari.txt");
    host_check::HostModule module;
    if (!module.open(host_check::path_from_argument(argv[first]))) {
        std::printf("FAILED: %s\n", module.error().c_str());
        return 1;
    }
    std::printf("memory before load: %s\n", memory_now().c_str());
    const auto start = std::chrono::steady_clock::now();
    module.load(copy.string());
    const std::chrono::duration<double, std::milli> loading = std::chrono::steady_clock::now() - start;
    std::printf("memory after load (%.0f ms): %s\n", loading.count(), memory_now().c_str());
    for (std::size_t i = 0; i < scripts.size(); ++i)
        module.request("NOTIFY MAKOTO/2.0\r\nCharset: Shift_JIS\r\nString: @wavouts[" + speech_name(i) + "]" +
                       scripts[i] + "\\e\r\n\r\n");
    std::printf("memory after %zu scripts: %s\n", scripts.size(), memory_now().c_str());
    module.unload();

    int failed = 0;
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        const std::string name = speech_name(i);
        const std::string speech = fixture::read_text((copy / name).string());
        if (speech.size() <= 58 + 22050 / 10) {
            std::printf("FAILED: %s: the module saved %zu bytes of speech\n", name.c_str(), speech.size());
            ++failed;
        } else if (!comparing) {
            if (!write_file(work / name, speech)) {
                std::printf("FAILED: %s: cannot keep the speech\n", name.c_str());
                ++failed;
            }
        } else if (speech != fixture::read_text((references / name).string())) {
            std::printf("FAILED: %s: %zu bytes of speech, unlike the reference's %zu\n", name.c_str(), speech.size(),
                        fixture::read_text((references / name).string()).size());
            ++failed;
        }
    }
    std::printf("%zu scripts, %d %s\n", scripts.size(), failed,
                comparing ? "unlike the native library's speech" : "not spoken");
    return failed == 0 ? 0 : 1;
}
