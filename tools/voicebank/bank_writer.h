// Writing one speaker's sample directories: slot-numbered ".wav" files in
// the module's 58-byte mu-law layout, and a "details.txt" per directory.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "corrections.h"
#include "slot_analysis.h"

namespace voicebank {

// The file bytes of one sample: the module's WAV header, then x * gain
// encoded to 8-bit mu-law with the module's own encoder (+-1.0 = full scale).
std::vector<std::uint8_t> sample_file_bytes(const std::vector<float>& x, double gain);

// The "details.txt" text for the samples of one directory: `vowels` selects
// the vowel slots (a i u e o n), else the consonant slots.  Per slot a
// section "[n]" with the loop or fade and delay (in output samples, so
// divided by the slot's rate factor) and the two correction factors.
std::string details_text(const std::vector<SlotSample>& samples, const BankTuning& tuning, bool vowels);

// The files of speaker `speaker`'s directories "vokariv<speaker>" (vowel
// slots) and "vokaric<speaker>" (consonant slots), by path relative to the
// module directory ("vokariv0/0.wav", "vokaric0/details.txt"): a
// "details.txt" in each, and one file per sample with data.
std::map<std::string, std::vector<std::uint8_t>> bank_files(int speaker, const std::vector<SlotSample>& samples,
                                                            const BankTuning& tuning);

// Writes the files of bank_files() into module_dir.  Everything is written
// into a temporary directory inside module_dir first and moved into place
// only when complete, replacing the old directories.  Samples without data
// are left out.  False with `error` set when anything fails; module_dir then
// still holds its old directories.
bool write_bank(const std::string& module_dir, int speaker, const std::vector<SlotSample>& samples,
                const BankTuning& tuning, std::string& error);

}  // namespace voicebank
