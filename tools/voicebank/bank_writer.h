// Writing one speaker's sample directories: slot-numbered ".wav" files in
// the module's 58-byte mu-law layout, and a "details.txt" per directory.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "corrections.h"
#include "slot_analysis.h"

namespace vokari {
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
// into a scratch folder inside module_dir first and swapped in only when
// complete, replacing the old directories; a build that was killed half-way
// is finished or dropped first (see bank_writer.cpp), so the folder holds
// the whole old bank or the whole new one.  Samples without data are left
// out.  False with `error` set (the file and the system's reason) when
// anything fails; module_dir then still holds its old directories.
bool write_bank(const std::string& module_dir, int speaker, const std::vector<SlotSample>& samples,
                const BankTuning& tuning, std::string& error);

// Finishes the swap of a build of `speaker` into module_dir that was killed
// after its new directories were complete, and drops the scratch folders of
// builds killed before.  False with `error` set when a swap cannot be
// finished.  write_bank does this first; the builder also does it at start.
bool recover_interrupted_write(const std::string& module_dir, int speaker, std::string& error);

}  // namespace voicebank
}  // namespace vokari
