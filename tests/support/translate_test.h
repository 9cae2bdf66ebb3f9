// A fixture for the script-translation tests: a module object with its
// settings and phoneme bank at their defaults; plus
// readable comparisons of Timeline events and the kana the tests use.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/module_state.h"
#include "translate/translation_dictionary.h"
#include "synth/wav_image.h"
#include "synth/sound_file.h"
#include "base/mulaw.h"
#include "translate/scanner.h"
#include "translate/timeline.h"
#include "voice_data/phoneme_bank.h"
#include "voice_data/message_speed.h"
#include "voice_data/phoneme_details.h"
#include "voice_data/settings.h"
#include "voice_data/config_text.h"

namespace vokari {

inline bool operator==(const PhonemeEvent& a, const PhonemeEvent& b) {
    return a.time == b.time && a.slot == b.slot && a.is_vowel == b.is_vowel && a.fade_in == b.fade_in;
}
inline void PrintTo(const PhonemeEvent& e, std::ostream* os) {
    *os << "{" << e.time << ", " << e.slot << ", " << int(e.is_vowel) << ", " << e.fade_in << "}";
}
inline bool operator==(const ControlEvent& a, const ControlEvent& b) {
    return a.time == b.time && a.kind == b.kind && a.value == b.value;
}
inline void PrintTo(const ControlEvent& e, std::ostream* os) {
    *os << "{" << e.time << ", kind " << e.kind << ", " << e.value << "}";
}

}  // namespace vokari

namespace translate_test {

using Events = std::vector<vokari::PhonemeEvent>;
using Controls = std::vector<vokari::ControlEvent>;

inline vokari::PhonemeEvent silence(std::int32_t samples) { return {samples, -1, 0, 1}; }

// Shift_JIS kana used by the tests.
namespace sjis {
constexpr const char* a = "\x82\xa0";
constexpr const char* i = "\x82\xa2";
constexpr const char* ka = "\x82\xa9";
constexpr const char* ki = "\x82\xab";
constexpr const char* ha = "\x82\xcd";
constexpr const char* n = "\x82\xf1";
constexpr const char* de = "\x82\xc5";
constexpr const char* small_i = "\x82\xa1";
constexpr const char* long_bar = "\x81\x5b";     // second byte '['
constexpr const char* so_katakana = "\x83\x5c";  // second byte '\\'
constexpr const char* kanji_hi = "\x93\xfa";
}  // namespace sjis

class TranslateTest : public ::testing::Test, protected module_test::ModuleState {
protected:
    void SetUp() override { load_defaults(); }

    const Events& events(int speaker) const { return timeline.phoneme_events[speaker]; }
    const Controls& controls(int speaker) const { return timeline.control_events[speaker]; }

    void tune_slot(int speaker, int slot, std::int32_t vowel_delay, std::int32_t loop_chunk_offset) {
        phoneme_bank.slots[speaker][slot].vowel_delay = vowel_delay;
        phoneme_bank.slots[speaker][slot].loop_chunk_offset = loop_chunk_offset;
    }
};

}  // namespace translate_test
