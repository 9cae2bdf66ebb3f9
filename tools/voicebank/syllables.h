// The 107 syllables of one speaker's bank, in slot order: the romaji name a
// recording is filed under and the hiragana it is written with.
#pragma once

#include <string>

namespace vokari {
namespace voicebank {

constexpr int kSyllableCount = 107;

struct Syllable {
    const char* romaji;  // file stem of the recording: "ka" for ka.wav
    const char* kana;    // UTF-8 hiragana of the syllable
};

extern const Syllable kSyllables[kSyllableCount];

// Slot number (0..106) of a romaji name, or -1 when no slot has that name.
int slot_of_romaji(const std::string& romaji);

// True for the slots whose sample is a loopable vowel (a i u e o and n).
bool is_vowel_syllable(int slot);

}  // namespace voicebank
}  // namespace vokari
