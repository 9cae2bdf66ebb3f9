// Bank files are encoded with the module's tables so that what the builder
// measured is exactly what the module will decode.
#include "bank_writer.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <unistd.h>

#include "base/mulaw.h"
#include "base/wav_format.h"
#include "vokari_voice_format.h"
#include "syllables.h"

namespace voicebank {
namespace fs = std::filesystem;
namespace {

constexpr double kFullScale = 8158.0;

std::string directory_name(bool vowels, int speaker) {
    return vokari::sample_folder(vowels, speaker);
}

// The system's reason for the last failed file call, in its own words.
std::string system_reason() { return std::error_code(errno, std::generic_category()).message(); }

bool write_bytes(const fs::path& path, const std::vector<std::uint8_t>& bytes, std::string& reason) {
    errno = 0;
    FILE* out = std::fopen(path.string().c_str(), "wb");
    if (out == nullptr) {
        reason = system_reason();
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (!written) reason = system_reason();
    if (std::fclose(out) != 0 && written) reason = system_reason();
    return reason.empty();
}

// False with the system's reason when `directory` or a file in it cannot be
// written.
bool write_directory(const fs::path& directory, const std::string& name,
                     const std::map<std::string, std::vector<std::uint8_t>>& files, std::string& reason) {
    std::error_code failure;
    fs::create_directories(directory, failure);
    if (failure) {
        reason = failure.message();
        return false;
    }
    const std::string prefix = name + "/";
    for (const auto& [path, bytes] : files) {
        if (path.compare(0, prefix.size(), prefix) != 0) continue;
        if (!write_bytes(directory / path.substr(prefix.size()), bytes, reason)) return false;
    }
    return true;
}

// Moves `fresh` to `target`, parking an existing `target` at `parked` first.
bool replace_directory(const fs::path& fresh, const fs::path& target, const fs::path& parked) {
    std::error_code failure;
    if (fs::exists(target)) {
        fs::rename(target, parked, failure);
        if (failure) return false;
    }
    fs::rename(fresh, target, failure);
    if (failure && fs::exists(parked)) fs::rename(parked, target, failure);
    return !failure;
}

}  // namespace

std::vector<std::uint8_t> sample_file_bytes(const std::vector<float>& x, double gain) {
    std::vector<std::uint8_t> bytes(vokari::kWavHeaderSize + x.size());
    vokari::write_wav_header(bytes.data(), static_cast<std::int32_t>(x.size()));
    for (size_t i = 0; i < x.size(); ++i) {
        const long value = std::lround(x[i] * gain * kFullScale);
        bytes[vokari::kWavHeaderSize + i] = vokari::encode_sample(static_cast<std::int32_t>(value));
    }
    return bytes;
}

std::string details_text(const std::vector<SlotSample>& samples, const BankTuning& tuning, bool vowels) {
    std::string text = vowels ? "// Vowel samples: loop start, rate and level corrections.\n"
                              : "// Consonant samples: vowel delay and fade (output samples), rate and level corrections.\n";
    char line[128];
    for (size_t i = 0; i < samples.size(); ++i) {
        const SlotSample& s = samples[i];
        if (s.samples.empty() || is_vowel_syllable(s.slot) != vowels) continue;
        const SlotTuning& t = tuning.slots[i];
        std::snprintf(line, sizeof line, "\n// %s\n[%d]\n", kSyllables[s.slot].romaji, s.slot);
        text += line;
        if (vowels) {
            std::snprintf(line, sizeof line, "%s,%ld\n", vokari::kDetailLoopOffset, s.loop_start);
        } else {
            // The renderer counts these in output samples; the sample itself
            // plays at the slot's rate factor.
            std::snprintf(line, sizeof line, "%s,%ld\n%s,%ld\n", vokari::kDetailVowelDelay,
                          std::lround(s.vowel_delay / t.correct_frequency),
                          vokari::kDetailLoopOffset, std::lround(s.fade_length / t.correct_frequency));
        }
        text += line;
        std::snprintf(line, sizeof line, "%s,%.4f\n%s,%.4f\n", vokari::kDetailCorrectFrequency,
                      t.correct_frequency, vokari::kDetailCorrectLevel, t.correct_level);
        text += line;
    }
    return text;
}

std::map<std::string, std::vector<std::uint8_t>> bank_files(int speaker, const std::vector<SlotSample>& samples,
                                                            const BankTuning& tuning) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (bool vowels : {true, false}) {
        const std::string directory = directory_name(vowels, speaker) + "/";
        for (const SlotSample& s : samples) {
            if (s.samples.empty() || is_vowel_syllable(s.slot) != vowels) continue;
            files[directory + std::to_string(s.slot) + ".wav"] = sample_file_bytes(s.samples, tuning.gain);
        }
        const std::string text = details_text(samples, tuning, vowels);
        files[directory + vokari::kDetailsFileName] = std::vector<std::uint8_t>(text.begin(), text.end());
    }
    return files;
}

bool write_bank(const std::string& module_dir, int speaker, const std::vector<SlotSample>& samples,
                const BankTuning& tuning, std::string& error) {
    const fs::path root = fs::u8path(module_dir);
    const fs::path scratch = root / (".voicebank-" + std::to_string(speaker) + "-" + std::to_string(getpid()));
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    bool ok = true;
    const auto files = bank_files(speaker, samples, tuning);
    for (bool vowels : {true, false}) {
        const std::string name = directory_name(vowels, speaker);
        std::string reason;
        if (!write_directory(scratch / name, name, files, reason)) {
            // The scratch folder is ours; the user knows the folder they gave.
            error = "cannot write into the module folder " + module_dir + ": " + reason;
            ok = false;
            break;
        }
    }
    for (bool vowels : {true, false}) {
        if (!ok) break;
        const std::string name = directory_name(vowels, speaker);
        if (!replace_directory(scratch / name, root / name, scratch / ("old-" + name))) {
            error = "cannot move " + name + " into " + module_dir;
            ok = false;
        }
    }
    fs::remove_all(scratch, ignored);
    return ok;
}

}  // namespace voicebank
