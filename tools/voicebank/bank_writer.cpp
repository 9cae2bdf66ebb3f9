// Bank files are encoded with the module's tables so that what the builder
// measured is exactly what the module will decode.
#include "bank_writer.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "base/mulaw.h"
#include "base/wav_format.h"
#include "vokari_voice_format.h"
#include "syllables.h"

namespace vokari {
namespace voicebank {
namespace fs = std::filesystem;
namespace {

constexpr double kFullScale = 8158.0;

std::string directory_name(bool vowels, int speaker) { return vokari::sample_folder(vowels, speaker); }

// The system's reason for a failed file call, in its own words.
std::string system_reason(int code) { return std::error_code(code, std::generic_category()).message(); }

// The file is closed before it counts as written: a full disk often shows
// only when the last buffered bytes go out.  `reason` gets the system's words
// only: the paths are the builder's own scratch files, which the user never
// named.
bool write_bytes(const fs::path& path, const std::vector<std::uint8_t>& bytes, std::string& reason) {
    errno = 0;
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (file == nullptr) {
        reason = system_reason(errno);
        return false;
    }
    // An empty file (the swap mark) has no buffer to hand to fwrite.
    // Flushed before closing: some C libraries (wine's msvcrt) forget a
    // failed flush by the time fclose returns.
    const bool written =
        (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size()) && std::fflush(file) == 0;
    const int write_errno = errno;
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return true;
    reason = system_reason(written ? errno : write_errno);
    return false;
}

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
        if (!write_bytes(directory / path.substr(prefix.size()), bytes, reason)) {
            reason = path + ": " + reason;  // the file as it stands in the module folder
            return false;
        }
    }
    return true;
}

// The two sample directories of a speaker cannot be swapped in one step.  A
// build writes both into its scratch folder, then creates the file
// kSwapMark there, then moves each old directory to "old-<name>" in the
// scratch folder and the new one into place.  Each of these steps can be
// told from the folders as they are, so a build killed at any moment leaves
// either an unmarked scratch folder (the old bank untouched: the scratch
// folder is dropped) or a marked one (the swap is finished) when the
// builder next runs.
const char kSwapMark[] = "swap";
const char kScratchPrefix[] = ".voicebank-";

// Moves what is left of the new directories of `scratch` into `root`.
bool finish_swap(const fs::path& scratch, const fs::path& root, int speaker, std::string& error) {
    for (bool vowels : {true, false}) {
        const std::string name = directory_name(vowels, speaker);
        const fs::path fresh = scratch / name, target = root / name, parked = scratch / ("old-" + name);
        std::error_code failure;
        if (!fs::exists(fresh)) continue;
        if (fs::exists(target) && !fs::exists(parked)) fs::rename(target, parked, failure);
        if (!failure) fs::rename(fresh, target, failure);
        if (failure) {
            error = "cannot move " + name + " into " + root.u8string() + ": " + failure.message();
            return false;
        }
    }
    return true;
}

// Puts the parked old directories of `scratch` back and the new ones where
// they were before the swap, so that the folders look as if the swap had
// not begun.
void undo_swap(const fs::path& scratch, const fs::path& root, int speaker) {
    for (bool vowels : {true, false}) {
        const std::string name = directory_name(vowels, speaker);
        const fs::path fresh = scratch / name, target = root / name, parked = scratch / ("old-" + name);
        std::error_code ignored;
        if (!fs::exists(parked)) continue;
        if (fs::exists(target) && !fs::exists(fresh)) fs::rename(target, fresh, ignored);
        fs::rename(parked, target, ignored);
    }
}

}  // namespace

bool recover_interrupted_write(const std::string& module_dir, int speaker, std::string& error) {
    const fs::path root = fs::u8path(module_dir);
    const std::string prefix = kScratchPrefix + std::to_string(speaker) + "-";
    std::error_code failure;
    std::vector<fs::path> left;
    for (fs::directory_iterator it(root, failure), end; !failure && it != end; it.increment(failure))
        if (it->path().filename().string().compare(0, prefix.size(), prefix) == 0) left.push_back(it->path());
    for (const fs::path& scratch : left) {
        if (fs::exists(scratch / kSwapMark) && !finish_swap(scratch, root, speaker, error)) return false;
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
    }
    return true;
}

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
    std::string text =
        vowels ? "// Vowel samples: loop start, rate and level corrections.\n"
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
                          std::lround(s.vowel_delay / t.correct_frequency), vokari::kDetailLoopOffset,
                          std::lround(s.fade_length / t.correct_frequency));
        }
        text += line;
        std::snprintf(line, sizeof line, "%s,%.4f\n%s,%.4f\n", vokari::kDetailCorrectFrequency, t.correct_frequency,
                      vokari::kDetailCorrectLevel, t.correct_level);
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
    if (!recover_interrupted_write(module_dir, speaker, error)) return false;
    const fs::path scratch = root / (kScratchPrefix + std::to_string(speaker) + "-" + std::to_string(getpid()));
    std::error_code ignored;
    const auto files = bank_files(speaker, samples, tuning);
    bool ok = true;
    std::string reason;
    for (bool vowels : {true, false}) {
        const std::string name = directory_name(vowels, speaker);
        if (ok) ok = write_directory(scratch / name, name, files, reason);
    }
    if (ok) ok = write_bytes(scratch / kSwapMark, {}, reason);
    // The scratch folder is ours; the user knows the folder they gave.
    if (!ok) error = "cannot write into the module folder " + module_dir + ": " + reason;
    if (ok && !finish_swap(scratch, root, speaker, error)) {
        undo_swap(scratch, root, speaker);
        ok = false;
    }
    fs::remove_all(scratch, ignored);
    return ok;
}

}  // namespace voicebank
}  // namespace vokari
