// Recording syllables with Open JTalk's trained voice (the open_jtalk
// program and the nitech-jp-atr503-m001 HTS voice): the speech at the bank's
// rate together with the phoneme labels the synthesiser timed it with.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace voicebank {

struct JtalkVoice {
    std::string program = "open_jtalk";
    std::string dictionary = "/var/lib/mecab/dic/open-jtalk/naist-jdic";
    std::string voice = "/usr/share/hts-voice/nitech-jp-atr503-m001/nitech_jp_atr503_m001.htsvoice";
    double half_tones = 0.0;  // -fm: pitch shift
    double all_pass = 0.55;   // -a: frequency warping; higher sounds lighter
    double speed = 1.0;       // -r: the voice's own tempo, so every consonant keeps its natural length
};

// The settings of the bundled voice's speakers: speaker 1 at the voice's own
// pitch and timbre, speaker 0 higher and lighter.
JtalkVoice bundled_jtalk_voice(int speaker);

// Empty when `voice`'s program, dictionary and HTS voice are all there;
// otherwise what is missing and which Debian packages bring it.
std::string missing_jtalk_parts(const JtalkVoice& voice);

struct PhonemeLabel {
    std::string name;  // "sil", "k", "a", "N", "cl" ...
    long begin = 0;    // samples at the bank rate
    long end = 0;
};

struct JtalkRecording {
    std::vector<float> samples;  // mono, +-1.0, at the bank rate
    std::vector<PhonemeLabel> labels;
    std::string error;  // empty on success
};

// Speaks the UTF-8 kana `text` through open_jtalk at 48 kHz, using
// `scratch_dir` for its files, and resamples the speech to the bank rate.
JtalkRecording record_with_jtalk(const std::string& text, const JtalkVoice& voice, const std::string& scratch_dir);

// The phoneme labels of an open_jtalk trace file's "[Output label]" section
// (times in 100 ns units), converted to samples at `rate`.
std::vector<PhonemeLabel> parse_trace_labels(const std::string& trace, int rate);

// One syllable cut out of a recording: from its first phoneme to the end of
// its vowel, and where in the cut the vowel starts.
struct SyllableCut {
    std::vector<float> samples;
    long vowel_start = 0;
    long model_consonant = 0;  // the consonant's length in the labels, before any cut
    std::string consonant;     // its phoneme name, empty for a vowel syllable
    bool ok = false;
};

// Cuts the syllable whose first phoneme is the `first_phoneme`-th phoneme
// other than silence (0-based) and which ends where the last `trailing`
// such phonemes begin.  The syllable must be what was asked for: one
// consonant phoneme (none when `with_consonant` is false) and then one
// vowel, however many labels it is held for; otherwise the cut is not ok
// (the analyser read the text otherwise, as "へ" read as the particle "e").
// A consonant longer than `longest_consonant` samples loses its start.
SyllableCut cut_syllable(const JtalkRecording& recording, int first_phoneme, int trailing, bool with_consonant,
                         long longest_consonant);

// The median pitch period of `cut`'s vowel in samples; 0 when it has none.
double vowel_period(const SyllableCut& cut);

// Evens out the pitch of `cut`'s vowel: the vowel is read back at a rate
// that follows its measured pitch, so that every period comes out at
// `target_period` (the bank's common period, so that the builder's pitch
// corrections stay near 1 and the vowel delay it writes in output samples
// stays the consonant's natural length).  The consonant is left as it is;
// the rate eases in over 10 ms from the vowel's start.
void flatten_vowel_pitch(SyllableCut& cut, double target_period);

}  // namespace voicebank
}  // namespace vokari
