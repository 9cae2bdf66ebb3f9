// The details files of the sample directories: per-slot tuning values,
// per-speaker consonant factors, and the trimming of consonant ".hv1" files.
#pragma once

namespace vokari {

struct LoadedVoice;

// Reads "<directory>\\details.txt" for `speaker`.  False when missing.
bool load_phoneme_details(LoadedVoice& voice, const char* directory, int speaker);
// A slot number that selects no slot (a negative section number).
constexpr int kNoSlot = -1;
// True when `line` is a section line "[N]"; then `slot` becomes N, limited to
// 106 above, or kNoSlot when N is negative.
bool parse_section_header(const char* line, int& slot);
// Applies one details line (`key`, `value`) to `slot` of `speaker` (slot
// keys) or to the speaker (consonant factors).  Slot keys do nothing for
// kNoSlot.
void apply_detail(LoadedVoice& voice, const char* key, const char* value, int speaker, int slot);
// Shortens "vokaric<speaker>\\<slot>.hv1" to its first `keep_bytes` bytes
// through a ".hv1.tmp" copy.  A missing file, a count of 0 or less, or a file
// not longer than the count leaves the directory unchanged.
void cut_excess_hv1(const char* module_dir, int speaker, int slot, long keep_bytes);

}  // namespace vokari
