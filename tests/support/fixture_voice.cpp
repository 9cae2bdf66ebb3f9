// The fixture voice: a small module directory written byte for byte the same on
// every system, so that rendered sound and logs can be compared across builds.
// Only integer arithmetic is used to make the samples (no libm), because the
// C runtimes of the two builds need not agree on the last bit of sin().
#include "support/fixture_voice.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <dirent.h>

#ifdef _WIN32
#include <direct.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fixture {
namespace {

#ifdef _WIN32
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

std::string join(const std::string& directory, const std::string& name) { return directory + kSeparator + name; }

bool is_vowel(int slot) { return (slot >= 0 && slot <= 4) || slot == 45; }

// Magnitude that mu-law code x (0..127, as in the module's decode table)
// stands for: ((2m + 34) << e) - 34.
int code_magnitude(int x) { return ((2 * (x & 0x0F) + 34) << (x >> 4)) - 34; }

// Mu-law byte for a linear value in [-8158, 8158]: the code whose magnitude is
// the largest one not above |value|.
std::uint8_t encode_mulaw(int value) {
    int magnitude = value < 0 ? -value : value;
    int x = 0;
    while (x < 127 && code_magnitude(x + 1) <= magnitude) ++x;
    return static_cast<std::uint8_t>(value < 0 ? 0x7F - x : 0xFF - x);
}

// Triangle wave of the given period in [-1024, 1024] at sample position t.
int triangle(int t, int period) {
    int phase = (t % period) * 4096 / period;  // 0..4095
    if (phase < 1024) return phase;
    if (phase < 3072) return 2048 - phase;
    return phase - 4096;
}

// Period in samples of a speaker's voice on a slot: 72..119 for speaker 0
// (185-306 Hz) and 52..83 for speaker 1 (265-424 Hz).
int voice_period(int speaker, int slot) { return speaker == 0 ? 72 + (slot * 7) % 48 : 52 + (slot * 11) % 32; }

// Sample length in bytes of a slot of the fixture voice.
int slot_length(int speaker, int slot) {
    if (is_vowel(slot)) return 3000 + (slot * 131 + speaker * 257) % 1200;
    return 1500 + (slot * 53 + speaker * 97) % 800;
}

// Which file the fixture writes for a slot: 0 none, 1 ".hv1", 2 ".wav".
int slot_file_kind(int speaker, int slot) {
    if (!is_vowel(slot) && (slot * 7 + speaker * 3) % 19 == 5) return 0;
    return (slot + speaker) % 3 == 0 ? 2 : 1;
}

void put_le(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void write_sample_directory(const std::string& module_dir, const char* name, int speaker, bool vowel_directory) {
    std::string directory = join(module_dir, name);
    make_directory(directory);
    for (int slot = 0; slot < 107; ++slot) {
        if (is_vowel(slot) != vowel_directory) continue;
        int kind = slot_file_kind(speaker, slot);
        if (kind == 0) continue;
        std::vector<std::uint8_t> samples = sample_bytes(speaker, slot, slot_length(speaker, slot));
        std::string base = join(directory, std::to_string(slot));
        if (kind == 1) write_file(base + ".hv1", samples);
        else write_file(base + ".wav", wav_file(samples));
    }
}

// details.txt of a vowel directory: loop offsets for every vowel, rate and
// level corrections for some.
std::string vowel_details(int speaker) {
    std::string text = "// vowel tuning of speaker " + std::to_string(speaker) + "\r\n";
    const int vowels[] = {0, 1, 2, 3, 4, 45};
    for (int slot : vowels) {
        text += "[" + std::to_string(slot) + "]\r\n";
        text += "loopchunkofset," + std::to_string(400 + (slot * 173 + speaker * 311) % 1100) + "\r\n";
        if (slot % 2 == speaker) text += "correct.frequency, " + std::string(slot == 45 ? "0.94" : "1.06") + "\r\n";
        if (slot == 2 || slot == 45) text += "correct.level, 0.85  // quieter\r\n";
    }
    return text;
}

// details.txt of a consonant directory: the speaker's consonant factors,
// a vowel delay for every slot, fade lengths and corrections for some.
std::string consonant_details(int speaker) {
    std::string text = "// consonant tuning of speaker " + std::to_string(speaker) + "\r\n";
    text += speaker == 0 ? "adjust.consonant.frequency, 1.05\r\nadjust.consonant.level, 0.9\r\n"
                         : "adjust.consonant.frequency, 0.95\r\nadjust.consonant.level, 1.1\r\n";
    for (int slot = 5; slot < 107; ++slot) {
        if (is_vowel(slot) || slot_file_kind(speaker, slot) == 0) continue;
        text += "[" + std::to_string(slot) + "]\r\n";
        text += "adjust.vowel.delay, " + std::to_string(800 + (slot * 37 + speaker * 59) % 600) + "\r\n";
        if (slot % 4 == 1)
            text += "loopchunkofset, " + std::to_string(400 + (slot * 91 + speaker * 13) % 1000) + "\r\n";
        if (slot % 9 == 2) text += "correct.frequency, 1.1\r\n";
        if (slot % 11 == 3) text += "correct.level, 1.2\r\n";
    }
    return text;
}

struct EffectFile {
    const char* name;
    const char* file;  // relative to the module directory, backslash separated
    int length;
    int period;
};

const EffectFile kEffects[] = {
    {"chime", "effects\\chime.wav", 4000, 37},
    {"click", "effects\\click.wav", 600, 9},
    {"knock", "effects\\knock.wav", 1800, 150},
};

std::vector<std::uint8_t> effect_bytes(const EffectFile& effect) {
    std::vector<std::uint8_t> samples(effect.length);
    for (int t = 0; t < effect.length; ++t) {
        int envelope = 4 * (effect.length - t) / effect.length + 1;  // decays 5..1
        samples[t] = encode_mulaw(triangle(t, effect.period) * envelope);
    }
    return samples;
}

}  // namespace

std::vector<std::uint8_t> sample_bytes(int speaker, int slot, int length) {
    std::vector<std::uint8_t> bytes(length > 0 ? length : 0);
    int period = voice_period(speaker, slot);
    // The consonant onset: a decaying burst of noise over the first quarter.
    int onset = is_vowel(slot) ? 0 : length / 4;
    std::uint32_t noise = 0x9E3779B9u ^ static_cast<std::uint32_t>(slot * 131 + speaker * 7919);
    for (int t = 0; t < length; ++t) {
        // A fundamental with two overtones: 1024 + 512 + 341 at most, times 3.
        int voiced = triangle(t, period) + triangle(t, period / 2) / 2 + triangle(t, period / 3 + 1) / 3;
        int value = voiced * 3;
        if (t < onset) {
            noise = noise * 1664525u + 1013904223u;
            int burst = static_cast<int>((noise >> 16) & 0x1FFF) - 4096;  // -4096..4095
            int weight = onset - t;
            value = (burst * weight + value * t) / onset;
        }
        bytes[t] = encode_mulaw(value);
    }
    return bytes;
}

std::vector<std::uint8_t> wav_header(std::int32_t samples) {
    static const char kTemplate[58 + 1] =
        "RIFF\0\0\0\0WAVEfmt \x12\0\0\0\x07\0\x01\0\x22\x56\0\0\x22\x56\0\0\x01\0\x08\0\0\0"
        "fact\x04\0\0\0\0\0\0\0data\0\0\0\0";
    std::vector<std::uint8_t> header(kTemplate, kTemplate + 58);
    std::uint32_t n = static_cast<std::uint32_t>(samples);
    put_le(header, 4, n + 50, 4);
    put_le(header, 46, n, 4);
    put_le(header, 54, n, 4);
    return header;
}

std::vector<std::uint8_t> wav_file(const std::vector<std::uint8_t>& samples) {
    std::vector<std::uint8_t> file = wav_header(static_cast<std::int32_t>(samples.size()));
    file.insert(file.end(), samples.begin(), samples.end());
    return file;
}

bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

bool write_text(const std::string& path, const std::string& text) {
    return write_file(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> read_file(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return bytes;
    unsigned char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(file);
    return bytes;
}

bool make_directory(const std::string& path) {
#ifdef _WIN32
    if (_mkdir(path.c_str()) == 0) return true;
#else
    if (mkdir(path.c_str(), 0755) == 0) return true;
#endif
    struct stat info;
    return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == S_IFDIR;
}

void remove_tree(const std::string& path) {
    struct stat info;
#ifdef _WIN32
    if (stat(path.c_str(), &info) != 0) return;
#else
    // A symbolic link is removed itself, never followed.
    if (lstat(path.c_str(), &info) != 0) return;
#endif
    if ((info.st_mode & S_IFMT) != S_IFDIR) {
        std::remove(path.c_str());
        return;
    }
    if (DIR* directory = opendir(path.c_str())) {
        std::vector<std::string> names;
        while (dirent* entry = readdir(directory)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.push_back(entry->d_name);
        }
        closedir(directory);
        for (const std::string& name : names) remove_tree(join(path, name));
    }
#ifdef _WIN32
    _rmdir(path.c_str());
#else
    rmdir(path.c_str());
#endif
}

std::string temp_directory(const std::string& tag) {
#ifdef _WIN32
    char base[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof base, base);
    std::string root = (length > 0 && length < sizeof base) ? std::string(base, length) : ".\\";
    if (root.back() != '\\') root += '\\';
    static unsigned counter = 0;
    for (;;) {
        std::string path =
            root + "vokari-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
        if (_mkdir(path.c_str()) == 0) return path;
    }
#else
    const char* root = std::getenv("TMPDIR");
    std::string pattern = std::string(root && *root ? root : "/tmp") + "/vokari-" + tag + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) return std::string();
    return std::string(buffer.data());
#endif
}

void make_voice(const std::string& module_dir, const VoiceOptions& options) {
    make_directory(module_dir);

    std::string settings = "// fixture voice settings\r\n";
    if (options.with_effects) {
        make_directory(join(module_dir, "effects"));
        for (const EffectFile& effect : kEffects) {
            std::string native = effect.file;
            for (char& c : native)
                if (c == '\\') c = kSeparator;
            write_file(join(module_dir, native), wav_file(effect_bytes(effect)));
            settings += std::string("se, ") + effect.name + ", " + effect.file + "\r\n";
        }
    }
    for (const std::string& line : options.settings_lines) settings += line + "\r\n";
    write_text(join(module_dir, "vokari.txt"), settings);

    struct Directory {
        const char* name;
        int speaker;
        bool vowels;
        bool wanted;
    };
    const Directory directories[] = {
        {"vokariv0", 0, true, true},
        {"vokariv1", 1, true, options.with_partner_vowels},
        {"vokaric0", 0, false, true},
        {"vokaric1", 1, false, options.with_partner_consonants},
    };
    for (const Directory& directory : directories) {
        if (!directory.wanted) continue;
        write_sample_directory(module_dir, directory.name, directory.speaker, directory.vowels);
        if (options.with_details) {
            std::string details =
                directory.vowels ? vowel_details(directory.speaker) : consonant_details(directory.speaker);
            write_text(join(join(module_dir, directory.name), "details.txt"), details);
        }
    }
}

std::string fnv1a_hex(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (std::uint8_t b : bytes) {
        hash ^= b;
        hash *= 0x100000001b3ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace fixture
