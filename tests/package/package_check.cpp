// The release zip's check, run under wine in the folder the zip was unpacked
// into: loads vokari.dll from that folder the way the host does, has it speak
// a script with the packaged voice and settings, and checks what came back.
//
//   vokari_package_check.exe <unpacked module folder>
//
// The script asks for the speech to be saved silently to a file, so no sound
// device is needed.  The check fails when the DLL cannot be loaded, lacks an
// export, answers with something other than the voiced script, or when the
// saved speech is silence (which is what the DLL says without a voice).
// Exit status 0 when everything holds; every failure is printed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

typedef BOOL(__cdecl* LoadFunction)(HGLOBAL, long);
typedef HGLOBAL(__cdecl* RequestFunction)(HGLOBAL, long*);
typedef BOOL(__cdecl* UnloadFunction)(void);

int failures = 0;

void fail(const std::string& what) {
    std::printf("FAIL: %s\n", what.c_str());
    ++failures;
}

HGLOBAL block_of(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, bytes.size());
    if (block != nullptr) std::memcpy(block, bytes.data(), bytes.size());
    return block;
}

std::vector<unsigned char> read_file(const std::string& path) {
    std::vector<unsigned char> bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(file);
    return bytes;
}

bool file_exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::uint32_t le32(const unsigned char* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: vokari_package_check <unpacked module folder>\n");
        return 2;
    }
    std::string folder = argv[1];
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();

    const char* required[] = {"vokari.dll",        "vokari.txt",      "dictionary.txt",       "reading.dic",
                              "VOICE-LICENSE.txt", "guide.md",        "vokariv0\\0.wav",      "vokaric0\\5.wav",
                              "vokariv1\\0.wav",   "vokaric1\\5.wav", "vokaric0\\details.txt"};
    for (const char* name : required)
        if (!file_exists(folder + "\\" + name)) fail(std::string("the package lacks ") + name);

    HMODULE library = LoadLibraryA((folder + "\\vokari.dll").c_str());
    if (library == nullptr) {
        fail("vokari.dll does not load from " + folder);
        return 1;
    }
    LoadFunction load = reinterpret_cast<LoadFunction>(GetProcAddress(library, "load"));
    RequestFunction request = reinterpret_cast<RequestFunction>(GetProcAddress(library, "request"));
    UnloadFunction unload = reinterpret_cast<UnloadFunction>(GetProcAddress(library, "unload"));
    if (load == nullptr || request == nullptr || unload == nullptr) {
        fail("vokari.dll lacks one of the exports load, request, unload");
        return 1;
    }

    if (load(block_of(folder), static_cast<long>(folder.size())) != TRUE) fail("load did not return TRUE");

    // "\0こんにちは@wavouts[package-check.wav]" in Shift_JIS.
    const std::string script = "\\0\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd@wavouts[package-check.wav]";
    const std::string request_text = "EXECUTE MAKOTO/2.0\r\nString: " + script + "\r\nCharset: Shift_JIS\r\n\r\n";
    const std::string sound_file = folder + "\\package-check.wav";
    DeleteFileA(sound_file.c_str());
    long length = static_cast<long>(request_text.size());
    HGLOBAL answer = request(block_of(request_text), &length);
    std::string reply;
    if (answer == nullptr || length <= 0) {
        fail("request returned no answer");
    } else {
        reply.assign(static_cast<const char*>(answer), static_cast<std::size_t>(length));
        GlobalFree(answer);
    }
    unload();
    FreeLibrary(library);

    const std::string status = "MAKOTO/2.0 200 OK\r\nString: ";
    if (reply.compare(0, status.size(), status) != 0) fail("the answer does not start with the 200 status: " + reply);
    if (reply.find("@wavouts") != std::string::npos) fail("the voice tag was left in the answer: " + reply);
    if (reply.find("\\_w[") == std::string::npos) fail("the answer carries no wait tags: " + reply);
    if (reply.find("\\0\x82\xb1") == std::string::npos) fail("the answer lost the script's text: " + reply);

    std::vector<unsigned char> wav = read_file(sound_file);
    if (wav.size() < 58 + 1000) {
        fail("the speech was not saved to package-check.wav");
    } else {
        if (std::memcmp(wav.data(), "RIFF", 4) != 0 || std::memcmp(wav.data() + 8, "WAVE", 4) != 0)
            fail("package-check.wav is not a WAV file");
        if (le32(&wav[54]) + 58 != wav.size()) fail("package-check.wav's data size disagrees with its length");
        std::size_t sounding = 0;
        for (std::size_t i = 58; i < wav.size(); ++i)
            if (wav[i] != 0xFF && wav[i] != 0x7F) ++sounding;
        // Five kana of the bundled voice sound for most of their 650 ms.
        if (sounding < (wav.size() - 58) / 4)
            fail("the saved speech is (nearly) silent: " + std::to_string(sounding) + " of " +
                 std::to_string(wav.size() - 58) + " samples sound");
        std::printf("saved %u samples, %u of them sounding\n", static_cast<unsigned>(wav.size() - 58),
                    static_cast<unsigned>(sounding));
    }
    DeleteFileA(sound_file.c_str());

    if (failures == 0) std::printf("OK: vokari.dll spoke with the packaged voice in %s\n", folder.c_str());
    return failures == 0 ? 0 : 1;
}
