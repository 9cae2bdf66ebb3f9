// The configuration readers on any file content: the settings file, a
// translation dictionary and a sample directory's details file.  The first
// input byte picks the reader (and, for a details file, whether
// "delete.excess.hv1" is on); the rest is the file.  A dictionary is then
// applied to the file's own bytes, and settings and details are heard through
// a short script rendered with the values they set.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/fixture_voice.h"
#include "support/fuzz_voice.h"
#include "synth/renderer.h"
#include "synth/wav_image.h"
#include "translate/scanner.h"
#include "translate/translation_dictionary.h"
#include "voice_data/phoneme_details.h"
#include "voice_data/settings.h"

namespace {

namespace fs = std::filesystem;

enum Reader { SettingsFile, DictionaryFile, VowelDetails, ConsonantDetails };

// Kana of every kind, a contracted sound, long vowels, both speakers, a pitch
// and a level change: one pass through most of what tuning values touch.
const char kHeardScript[] =
    "\\0\x82\xa9\x82\xab\x82\xe1\x82\xc1\x82\xb3-\x81[\x82\xa0\xb6\xde\xb7\xad"
    "\\1\x82\xcd\x82\xf1\x82\xc9\x82\xe1@<[3]\x82\xcf\x82\xd2\x82\xd5@+[5]\x83\x4a\x83\x4c";

struct SavedVoice {
    vokari::Settings settings;
    std::vector<vokari::TranslationPair> dictionary;
    std::vector<vokari::SoundEffect> effects;
    // Tuning values only: the samples themselves are never changed here.
    struct Tuning {
        std::int32_t vowel_delay, loop_chunk_offset;
        double correct_frequency, correct_level;
    };
    Tuning slots[vokari::kSpeakerCount][vokari::kSlotCount];
    double consonant_frequency[vokari::kSpeakerCount];
    double consonant_level[vokari::kSpeakerCount];
    std::map<std::string, std::vector<std::uint8_t>> consonant_files;

    explicit SavedVoice(fuzz_support::FuzzVoice& voice)
        : settings(voice.module().voice.settings),
          dictionary(voice.module().dictionary),
          effects(voice.module().voice.sound_effects) {
        const vokari::PhonemeBank& phoneme_bank = voice.module().voice.bank;
        for (int s = 0; s < vokari::kSpeakerCount; ++s) {
            for (int n = 0; n < vokari::kSlotCount; ++n) {
                const vokari::PhonemeSlot& slot = phoneme_bank.slots[s][n];
                slots[s][n] = {slot.vowel_delay, slot.loop_chunk_offset, slot.correct_frequency, slot.correct_level};
            }
            consonant_frequency[s] = phoneme_bank.consonant_frequency[s];
            consonant_level[s] = phoneme_bank.consonant_level[s];
        }
        for (const char* directory : {"vokaric0", "vokaric1"})
            for (const auto& entry : fs::directory_iterator(voice.path(directory)))
                if (entry.path().extension() == ".hv1")
                    consonant_files[entry.path().string()] = fixture::read_file(entry.path().string());
    }

    void restore(vokari::Module& module) const {
        module.voice.settings = settings;
        module.dictionary = dictionary;
        module.voice.sound_effects = effects;
        vokari::PhonemeBank& phoneme_bank = module.voice.bank;
        for (int s = 0; s < vokari::kSpeakerCount; ++s) {
            for (int n = 0; n < vokari::kSlotCount; ++n) {
                vokari::PhonemeSlot& slot = phoneme_bank.slots[s][n];
                slot.vowel_delay = slots[s][n].vowel_delay;
                slot.loop_chunk_offset = slots[s][n].loop_chunk_offset;
                slot.correct_frequency = slots[s][n].correct_frequency;
                slot.correct_level = slots[s][n].correct_level;
            }
            phoneme_bank.consonant_frequency[s] = consonant_frequency[s];
            phoneme_bank.consonant_level[s] = consonant_level[s];
        }
    }

    // Puts back every consonant sample file that a trim shortened.
    void restore_trimmed_files() const {
        std::error_code error;
        for (const auto& [path, bytes] : consonant_files)
            if (fs::file_size(path, error) != bytes.size()) fixture::write_file(path, bytes);
    }
};

void read_settings_file(vokari::Module& module) { vokari::read_settings(module.voice); }

void read_dictionary(vokari::Module& module, const std::string& file_bytes) {
    module.dictionary.clear();
    vokari::load_translation_file(module.voice, module.dictionary, "fuzz.dic");
    vokari::add_system_pairs(module.voice.settings, module.dictionary);
    std::string text = file_bytes;
    vokari::apply_translation(module.voice.settings, module.dictionary, text);
}

void read_details(vokari::Module& module, const char* directory, int speaker, bool delete_excess) {
    module.voice.settings.delete_excess_hv1 = delete_excess ? 1 : 0;
    module.voice.bank.last_sample_was_hv1 = 1;
    vokari::load_phoneme_details(module.voice, directory, speaker);
}

void hear_script(const vokari::Module& module) {
    vokari::Timeline timeline;
    const std::int64_t total_ms = vokari::scan_script(module.voice, kHeardScript, timeline).total_ms;
    std::int64_t samples = vokari::output_sample_count(total_ms);
    if (samples > vokari::kMaxOutputSamples) samples = vokari::kMaxOutputSamples;
    if (samples <= 0) return;
    std::vector<std::uint8_t> image(static_cast<std::size_t>(samples));
    vokari::render_timeline(module.voice, timeline, image.data(), static_cast<std::int32_t>(samples));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz_support::FuzzVoice voice("fuzz-config");
    static const SavedVoice saved(voice);
    vokari::Module& module = voice.module();
    if (size == 0) return 0;
    const Reader reader = static_cast<Reader>(data[0] % 4);
    const bool delete_excess = (data[0] & 4) != 0;
    const std::vector<std::uint8_t> file(data + 1, data + size);
    const std::string file_bytes(file.begin(), file.end());

    switch (reader) {
    case SettingsFile:
        fixture::write_file(voice.path("vokari.txt"), file);
        read_settings_file(module);
        break;
    case DictionaryFile:
        fixture::write_file(voice.path("fuzz.dic"), file);
        read_dictionary(module, file_bytes);
        break;
    case VowelDetails:
        fixture::write_file(voice.path("vokariv0/details.txt"), file);
        read_details(module, "vokariv0", 0, delete_excess);
        break;
    case ConsonantDetails:
        fixture::write_file(voice.path("vokaric1/details.txt"), file);
        read_details(module, "vokaric1", 1, delete_excess);
        break;
    }
    if (reader != DictionaryFile) hear_script(module);

    saved.restore(module);
    if (delete_excess) saved.restore_trimmed_files();
    voice.tidy_after_request();
    return 0;
}
