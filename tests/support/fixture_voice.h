// A small, deterministic test voice written by the tests themselves: a module
// directory with "vokari.txt", the four sample directories, details files and
// sound effects.  Plain standard C++ so that it builds for every test host
// (GoogleTest natively, and the Win32 test host under wine).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fixture {

struct VoiceOptions {
    // Extra lines appended to vokari.txt (a "log" line is not added unless
    // given here).
    std::vector<std::string> settings_lines;
    bool with_partner_vowels = true;      // write "vokariv1"
    bool with_partner_consonants = true;  // write "vokaric1"
    bool with_details = true;             // write details.txt files
    bool with_effects = true;             // write effect files and "se" lines
};

// Deterministic mu-law sample bytes for a slot of a speaker (periodic, with a
// slot- and speaker-dependent period), `length` bytes long.
std::vector<std::uint8_t> sample_bytes(int speaker, int slot, int length);

// The module's 58-byte WAV header for `samples` mu-law samples.
std::vector<std::uint8_t> wav_header(std::int32_t samples);
// A ".wav" file in the module's layout holding `samples`.
std::vector<std::uint8_t> wav_file(const std::vector<std::uint8_t>& samples);

// Writes `bytes` to `path` (native separators); true on success.
bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool write_text(const std::string& path, const std::string& text);
std::vector<std::uint8_t> read_file(const std::string& path);
bool make_directory(const std::string& path);
// Removes a directory tree (best effort).
void remove_tree(const std::string& path);
// A fresh, empty, uniquely named directory under the system's temp folder.
std::string temp_directory(const std::string& tag);

// Writes the full fixture voice into `module_dir` (created if needed).
void make_voice(const std::string& module_dir, const VoiceOptions& options = {});

// 64-bit FNV-1a of a byte string, as 16 lower-case hex digits.
std::string fnv1a_hex(const std::vector<std::uint8_t>& bytes);

}  // namespace fixture
