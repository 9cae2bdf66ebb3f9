// Recording syllables with libespeak-ng's Japanese voice, together with the
// phoneme boundaries the synthesiser reports for them.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace voicebank {

struct EspeakVoice {
    std::string name = "ja";  // voice name, optionally with a "+variant"
    int pitch = 50;           // base pitch, 0..99
    int range = 50;           // intonation range, 0 = monotone
    int rate = 175;           // words per minute
};

// The voices of the bundled default bank: speaker 0 a higher female variant,
// speaker 1 the lower default voice; both with little intonation, so that
// every syllable is said at nearly one pitch, and slowly, so that the vowels
// are long enough to loop.
EspeakVoice bundled_voice(int speaker);

struct PhonemeMark {
    std::string name;  // the synthesiser's mnemonic, "k", "a", "_:" ...
    long sample = 0;   // start of the phoneme in the recording, samples
};

struct EspeakRecording {
    std::vector<float> samples;  // mono, +-1.0 full scale, at `rate` Hz
    int rate = 0;
    std::vector<PhonemeMark> phonemes;
    std::string error;  // empty on success
};

// What the voice is given to say for `slot`: the hiragana, with a long-vowel
// mark behind the vowels so that they are held long enough to loop, and the
// syllabic n repeated for the same reason; text between [[ and ]] is read as
// the synthesiser's phoneme mnemonics.
std::string recording_text(int slot);

// Speaks the UTF-8 `text` (phoneme input between [[ and ]] allowed) with
// `voice` and returns the audio and phonemes.
// The synthesiser is initialised on first use and kept for the process.
EspeakRecording record_with_espeak(const std::string& text, const EspeakVoice& voice);

// Sample index at which the last vowel phoneme of `recording` starts (the
// vowel the syllable ends in, after any consonant or glide), or -1 if none.
long vowel_start(const EspeakRecording& recording);

}  // namespace voicebank
}  // namespace vokari
