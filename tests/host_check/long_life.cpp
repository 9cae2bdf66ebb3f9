// long_life: the module through a long session of a host, on a voice folder:
// REQUESTS requests of mixed scripts in one life, then CYCLES lives of load,
// a request and unload.  The process's working set and its open handles
// (file descriptors on Linux) are measured after a warm-up and at the end;
// they must not grow.
//   long_life <library> <voice folder> <requests> <cycles>
// Prints the figures; exits 1 when memory or handles grew or a call failed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <dirent.h>
#endif

#include "host_module.h"

namespace {

struct Usage {
    long kilobytes = 0;  // working set (resident set)
    long handles = 0;    // open handles (file descriptors), or where the next handle goes
};

Usage usage_now() {
    Usage usage;
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        usage.kilobytes = static_cast<long>(counters.WorkingSetSize / 1024);
    // Where the system keeps no count (wine reports 0), the value of a fresh
    // handle stands in: handles are numbered from the lowest free slot, so
    // leaked ones push it up.
    DWORD handles = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &handles) && handles > 0) {
        usage.handles = static_cast<long>(handles);
    } else if (HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
        usage.handles = static_cast<long>(reinterpret_cast<std::uintptr_t>(probe) / 4);
        CloseHandle(probe);
    }
#else
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        long pages = 0, resident = 0;
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) == 2) usage.kilobytes = resident * 4;
        std::fclose(statm);
    }
    if (DIR* fds = opendir("/proc/self/fd")) {
        while (readdir(fds) != nullptr) ++usage.handles;
        closedir(fds);
    }
#endif
    return usage;
}

std::string request_text(const std::string& script) {
    return "EXECUTE MAKOTO/2.0\r\nCharset: Shift_JIS\r\nSender: long_life\r\nString: " + script + "\r\n\r\n";
}

// Scripts of every kind a host sends: plain kana, kanji through the reading
// dictionary, both speakers, waits, voice tags, a sound file written instead
// of played, a script with nothing to say, and a request that is not one.
const std::vector<std::string>& mixed_requests() {
    static const std::vector<std::string> requests = {
        request_text("\\0\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd\x81\x42\\e"),
        request_text("\\0\x8d\xa1\x93\xfa\x82\xcd\x89\x4a\x82\xaa\x8d\x7e\x82\xe8\x82\xdc\x82\xb7\x81\x42\\e"),
        request_text("\\0\x82\xa0\x82\xa2\x82\xa4\\w9\\1\x82\xa6\x82\xa8\\n\\0\x82\xa9\x82\xab\x82\xad\\e"),
        request_text("\\0@<[3]\x82\xcf\x82\xd2\x82\xd5@+[5]\x83\x4a\x83\x4c\x83\x4e\\e"),
        request_text("\\0@wavouts[long_life.wav]\x82\xb3\x82\xe6\x82\xa4\x82\xc8\x82\xe7\\e"),
        request_text("\\0\\s[3]\\e"),
        request_text("\\1\xb6\xde\xb7\xad\x81\x5b\x81\x5b\x81\x5b\\_w[50]\x82\xf1\\e"),
        "GET SHIORI/3.0\r\n\r\n",
    };
    return requests;
}

bool check(bool ok, const char* what) {
    if (!ok) std::printf("FAILED: %s\n", what);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: long_life <library> <voice folder> <requests> <cycles>\n");
        return 2;
    }
    const std::string library = host_check::path_from_argument(argv[1]);
    // The voice is used from a copy: the sound files the scripts write land
    // beside it.
    namespace fs = std::filesystem;
    const fs::path copy = fs::temp_directory_path() / ("vokari_long_life_" + std::to_string(std::rand()));
    std::error_code failure;
    fs::remove_all(copy, failure);
    fs::copy(host_check::path_from_argument(argv[2]), copy, fs::copy_options::recursive, failure);
    if (failure) {
        std::printf("FAILED: copying the voice: %s\n", failure.message().c_str());
        return 1;
    }
    const std::string voice = copy.string();
    const long requests = std::atol(argv[3]), cycles = std::atol(argv[4]);
    const std::vector<std::string>& mixed = mixed_requests();
    bool ok = true;

    host_check::HostModule module;
    if (!module.open(library)) {
        std::printf("FAILED: %s\n", module.error().c_str());
        fs::remove_all(copy, failure);
        return 1;
    }
    ok &= check(module.load(voice) == 1, "load");
    // The first requests fill caches and the sound device's buffers.
    const long warm_up = requests / 10 + 1;
    Usage start;
    long answered = 0;
    for (long n = 0; n < requests; ++n) {
        if (n == warm_up) start = usage_now();
        answered += module.request(mixed[static_cast<std::size_t>(n) % mixed.size()]).has_block ? 1 : 0;
    }
    ok &= check(module.unload() == 1, "unload");
    ok &= check(answered == requests, "every request answered");
    const Usage after_requests = usage_now();
    std::printf("requests: %ld answered; working set %ld kB after %ld, %ld kB at the end; handles %ld, then %ld\n",
                answered, start.kilobytes, warm_up, after_requests.kilobytes, start.handles, after_requests.handles);

    Usage cycle_start;
    for (long n = 0; n < cycles; ++n) {
        if (n == cycles / 10) cycle_start = usage_now();
        const bool loaded = module.load(voice) == 1;
        const bool answered_one = module.request(mixed[static_cast<std::size_t>(n) % mixed.size()]).has_block;
        const bool unloaded = module.unload() == 1;
        if (!(loaded && answered_one && unloaded)) {
            ok = check(false, "a load, request and unload cycle");
            break;
        }
    }
    const Usage end = usage_now();
    std::printf(
        "cycles: %ld loads and unloads; working set %ld kB after %ld, %ld kB at the end; handles %ld, then %ld\n",
        cycles, cycle_start.kilobytes, cycles / 10, end.kilobytes, cycle_start.handles, end.handles);

    // Flat: allocator and page-cache noise stays within a couple of megabytes;
    // a leak of even a sample buffer per request is far more.
    // AddressSanitizer holds freed memory in quarantine, so the working set
    // grows by design there; its leak check stands in.
#if defined(__SANITIZE_ADDRESS__)
    const bool memory_measured = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    const bool memory_measured = false;
#else
    const bool memory_measured = true;
#endif
#else
    const bool memory_measured = true;
#endif
    const long slack_kb = 2048;
    if (memory_measured) {
        ok &= check(after_requests.kilobytes <= start.kilobytes + slack_kb, "working set flat over the requests");
        ok &= check(end.kilobytes <= cycle_start.kilobytes + slack_kb, "working set flat over the cycles");
    } else {
        std::printf("working set not compared under AddressSanitizer\n");
    }
    ok &= check(start.handles > 0, "handles can be counted");
    ok &= check(after_requests.handles <= start.handles, "no handle leaked by requests");
    ok &= check(end.handles <= cycle_start.handles, "no handle leaked by load and unload");
    module.close();
    fs::remove_all(copy, failure);
    return ok ? 0 : 1;
}
