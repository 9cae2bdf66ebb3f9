// One Module object for a test, its parts under the names the module's code
// uses, and the module's functions bound to it: a test reads like the code it
// checks and needs no state outside its own object.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "host/module.h"
#include "host/request.h"
#include "platform/platform.h"
#include "synth/renderer.h"
#include "synth/sound_file.h"
#include "synth/wav_image.h"
#include "translate/scanner.h"
#include "translate/wait_insertion.h"
#include "translate/translation_dictionary.h"
#include "voice_data/message_speed.h"
#include "voice_data/phoneme_bank.h"
#include "voice_data/phoneme_details.h"
#include "voice_data/request_log.h"
#include "voice_data/settings.h"
#include "voice_data/sound_effects.h"

namespace module_test {

class ModuleState {
protected:
    vokari::Module module_;
    vokari::LoadedVoice& voice_ = module_.voice;
    vokari::Settings& settings = voice_.settings;
    vokari::PhonemeBank& phoneme_bank = voice_.bank;
    std::vector<vokari::SoundEffect>& sound_effects = voice_.sound_effects;
    char (&module_dir)[vokari::kModuleDirCapacity] = voice_.module_dir;
    vokari::TranslationDictionary& translation_dictionary = module_.dictionary;
    vokari::TranslationIndex& dictionary_index = module_.dictionary_index;
    vokari::WavImage& image = module_.image;
    vokari::Timeline timeline;      // what scan_script fills and render_timeline reads
    vokari::ScanResult scan;        // the last scan's result; render_and_play's file request
    vokari::RequestState request_;  // the last handle_request's headers and timeline

    // The fields a settings file sets, as one value to compare whole: the log,
    // the tag prefix, the talk speed, the two speakers' frequencies, the
    // trimming of sample files and the security level.
    using SettingsFields = std::tuple<std::string, int, int, double, double, int, int>;
    SettingsFields settings_fields() const {
        return {settings.log_path,
                settings.tag_prefix,
                settings.talk_default_speed,
                settings.speaker_frequency[0],
                settings.speaker_frequency[1],
                settings.delete_excess_hv1,
                settings.security_high};
    }

    // voice_data
    void load_defaults() { vokari::load_defaults(voice_); }
    void read_settings(std::vector<std::string>& names) { names = vokari::read_settings(voice_).dictionary_names; }
    vokari::PartnerGaps load_phoneme_bank() { return vokari::load_phoneme_bank(voice_); }
    bool load_phoneme_directory(const char* directory, int speaker, bool vowels) {
        return vokari::load_phoneme_directory(voice_, directory, speaker, vowels);
    }
    void fill_partner_from_main(vokari::SlotGroup group) { vokari::fill_partner_from_main(phoneme_bank, group); }
    void reset_phoneme_bank() { vokari::reset_phoneme_bank(phoneme_bank); }
    void release_phoneme_bank() { vokari::release_phoneme_bank(phoneme_bank); }
    bool format_module_path(char* out, const char* relative) {
        return vokari::format_module_path(module_dir, out, relative);
    }
    bool load_phoneme_details(const char* directory, int speaker) {
        return vokari::load_phoneme_details(voice_, directory, speaker);
    }
    void discover_message_speed() { vokari::discover_message_speed(voice_); }
    void add_sound_effect(const char* value) { vokari::add_sound_effect(voice_, value); }
    int find_sound_effect(const std::string& name) { return vokari::find_sound_effect(sound_effects, name); }
    void release_sound_effects() { vokari::release_sound_effects(sound_effects); }
    bool log_is_on() { return vokari::log_is_on(settings); }
    void log_start() { vokari::log_start(settings); }
    void log_write(const char* text) { vokari::log_write(settings, text); }
    void log_end() { vokari::log_end(settings); }

    // translate
    void load_translation_file(const char* name) {
        vokari::load_translation_file(voice_, translation_dictionary, name);
    }
    void add_system_pairs() { vokari::add_system_pairs(settings, translation_dictionary); }
    void apply_translation(std::string& text) {
        vokari::apply_translation(settings, translation_dictionary, text, &dictionary_index);
    }
    std::int64_t scan_script(const std::string& text) {
        scan = vokari::scan_script(voice_, text, timeline);
        return scan.total_ms;
    }
    void insert_waits(std::string& reply, std::int64_t total_ms) {
        vokari::insert_waits(settings, reply, total_ms, scan.omit_text);
    }

    // synth
    void render_timeline(std::uint8_t* out, std::int32_t samples) {
        vokari::render_timeline(voice_, timeline, out, samples);
    }
    void render_and_play(std::int64_t ms) { vokari::render_and_play(voice_, image, timeline, scan.sound_file, ms); }
    void release_wav_image() { vokari::release_wav_image(image); }
    bool write_sound_file() { return vokari::write_sound_file(voice_, image, scan.sound_file); }
    void reload_sound_effect(const std::string& name, const char* path) {
        vokari::reload_sound_effect(voice_, name, path);
    }

    // host
    void handle_request(const char* copy, std::string& response) {
        request_ = vokari::RequestState();
        vokari::handle_logged_request(module_, request_, copy, vokari::platform::tick_count(), response);
    }
    std::string get_header(const char* name) const { return request_.header(name); }
};

}  // namespace module_test
