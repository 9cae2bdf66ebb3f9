// Kana conversion as the scanner meets it: each kana becomes a phoneme event
// of its slot.
#pragma once

#include "translate/scan_state.h"

namespace vokari {

// A double-byte character (lead 0x80..0xA0 or 0xE0..0xFF) or a half-width
// katakana (0xA1..0xDF) at `pos`.
void convert_fullwidth_kana(ScanState& state);
void convert_halfwidth_kana(ScanState& state);

}  // namespace vokari
