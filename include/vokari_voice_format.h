// vokari_voice_format.h: what a voice folder holds, for the module that reads
// it and the programs that write it.
//
// A voice is four sample folders in the module's folder, each with one WAV
// file per slot (58-byte header, then 8-bit mu-law mono at 22050 Hz, see
// base/wav_format.h and base/mulaw.h) named after the slot number ("12.wav";
// the older ".hv1" raw files are read too), and a "details.txt" of per-slot
// corrections:
//
//   [<slot>]                        a section: the keys below apply to <slot>
//   adjust.vowel.delay,<samples>    where the vowel part of a sample starts
//   loopchunkofset,<byte>           where a held vowel loops
//   correct.frequency,<factor>      pitch correction of the slot
//   correct.level,<factor>          level correction of the slot
//   adjust.consonant.frequency,<factor>  for all consonants of the speaker
//   adjust.consonant.level,<factor>      (valid under any section)
#pragma once

namespace vokari {

// The phoneme slots: 107 consonant-vowel sounds per speaker, two speakers
// (main and partner).  Slot numbers are the names of the sample files.
constexpr int kSlotCount = 107;
constexpr int kSpeakerCount = 2;
constexpr int kSyllabicNSlot = 45;

// Slots 0-4 and 45 hold vowels; every other slot a consonant-vowel sample.
constexpr bool is_vowel_slot(int slot) { return (slot >= 0 && slot <= 4) || slot == kSyllabicNSlot; }

// The sample folders: [vowels or consonants][speaker], in the order the
// module loads them (the vowel folders first).
constexpr const char* kSampleFolders[2][kSpeakerCount] = {{"vokariv0", "vokariv1"}, {"vokaric0", "vokaric1"}};
constexpr const char* sample_folder(bool vowels, int speaker) { return kSampleFolders[vowels ? 0 : 1][speaker]; }

// The settings file in the module's folder, and the details file in each
// sample folder.
constexpr char kSettingsFileName[] = "vokari.txt";
constexpr char kDetailsFileName[] = "details.txt";

// The keys of a details file.
constexpr char kDetailVowelDelay[] = "adjust.vowel.delay";
constexpr char kDetailLoopOffset[] = "loopchunkofset";
constexpr char kDetailCorrectFrequency[] = "correct.frequency";
constexpr char kDetailCorrectLevel[] = "correct.level";
constexpr char kDetailConsonantFrequency[] = "adjust.consonant.frequency";
constexpr char kDetailConsonantLevel[] = "adjust.consonant.level";
constexpr const char* kDetailKeys[] = {kDetailVowelDelay,   kDetailLoopOffset,         kDetailCorrectFrequency,
                                       kDetailCorrectLevel, kDetailConsonantFrequency, kDetailConsonantLevel};
enum DetailKey {
    kVowelDelayKey,
    kLoopOffsetKey,
    kCorrectFrequencyKey,
    kCorrectLevelKey,
    kConsonantFrequencyKey,
    kConsonantLevelKey,
};

// The keys of the settings file, one a line as "key,value".
constexpr const char* kSettingsKeys[] = {"log",
                                         "tag.prefix",
                                         "voice.translate.dic",
                                         "talk.default.speed",
                                         "se",
                                         "adjust.frequency.sakura",
                                         "adjust.frequency.kero",
                                         "delete.excess.hv1",
                                         "security.level",
                                         "voice.reading.dic",
                                         "voice.pitch.accent",
                                         "voice.prosody.model",
                                         "voice.prosody.range",
                                         "voice.prosody.tempo"};
enum SettingsKey {
    kLogKey,
    kTagPrefixKey,
    kDictionaryKey,
    kTalkSpeedKey,
    kSoundEffectKey,
    kMainFrequencyKey,
    kPartnerFrequencyKey,
    kDeleteExcessKey,
    kSecurityLevelKey,
    kReadingDictionaryKey,
    kPitchAccentKey,
    kProsodyModelKey,
    kProsodyRangeKey,
    kProsodyTempoKey,
};

}  // namespace vokari
