// libespeak-ng in synchronous mode: the synth callback receives the audio in
// blocks together with the events of each block; phoneme events are turned on
// at initialisation and carry their position in milliseconds.
#include "espeak_recording.h"

#include <espeak-ng/speak_lib.h>

#include <cstring>

#include "syllables.h"

namespace vokari {
namespace voicebank {
namespace {

EspeakRecording* g_target = nullptr;

int collect_block(short* wav, int count, espeak_EVENT* events) {
    if (g_target == nullptr) return 1;
    for (int i = 0; wav != nullptr && i < count; ++i) g_target->samples.push_back(wav[i] / 32768.0f);
    for (espeak_EVENT* event = events; event->type != espeakEVENT_LIST_TERMINATED; ++event) {
        if (event->type != espeakEVENT_PHONEME) continue;
        PhonemeMark mark;
        mark.name.assign(event->id.string, strnlen(event->id.string, sizeof event->id.string));
        mark.sample = static_cast<long>(event->audio_position) * g_target->rate / 1000;
        g_target->phonemes.push_back(mark);
    }
    return 0;
}

// Sample rate of the initialised synthesiser, or -1 when it cannot start.
int synthesiser_rate() {
    static const int rate = [] {
        const int r = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 200, nullptr,
                                        espeakINITIALIZE_PHONEME_EVENTS | espeakINITIALIZE_DONT_EXIT);
        if (r > 0) espeak_SetSynthCallback(collect_block);
        return r;
    }();
    return rate;
}

bool is_vowel_phoneme(const std::string& name) { return !name.empty() && std::strchr("aiueoM", name[0]) != nullptr; }

}  // namespace

EspeakVoice bundled_voice(int speaker) {
    EspeakVoice voice;
    voice.name = speaker == 0 ? "ja+f3" : "ja";
    voice.pitch = speaker == 0 ? 75 : 50;
    voice.range = 10;
    voice.rate = 120;
    return voice;
}

std::string recording_text(int slot) {
    const std::string kana = kSyllables[slot].kana;
    // The Japanese rules read りゃ, りゅ, りょ as "ra-a", "ra-u", "ra-o"; the
    // contracted sounds are given as phoneme strings instead.
    if (slot == 89) return "[[r`_ja]]";
    if (slot == 90) return "[[r`_ju]]";
    if (slot == 91) return "[[r`_jo]]";
    if (slot == 45) return kana + kana + kana;
    if (is_vowel_syllable(slot)) return kana + "ー";
    return kana;
}

EspeakRecording record_with_espeak(const std::string& text, const EspeakVoice& voice) {
    EspeakRecording recording;
    recording.rate = synthesiser_rate();
    if (recording.rate <= 0) {
        recording.error = "espeak-ng could not be initialised";
        return recording;
    }
    if (espeak_SetVoiceByName(voice.name.c_str()) != EE_OK) {
        recording.error = "espeak-ng has no voice " + voice.name;
        return recording;
    }
    espeak_SetParameter(espeakRATE, voice.rate, 0);
    espeak_SetParameter(espeakPITCH, voice.pitch, 0);
    espeak_SetParameter(espeakRANGE, voice.range, 0);
    g_target = &recording;
    const espeak_ERROR status = espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                                             espeakCHARS_UTF8 | espeakPHONEMES, nullptr, nullptr);
    espeak_Synchronize();
    g_target = nullptr;
    if (status != EE_OK) recording.error = "espeak-ng could not speak " + text;
    return recording;
}

long vowel_start(const EspeakRecording& recording) {
    long start = -1;
    for (const PhonemeMark& mark : recording.phonemes) {
        if (is_vowel_phoneme(mark.name)) start = mark.sample;
    }
    return start;
}

}  // namespace voicebank
}  // namespace vokari
