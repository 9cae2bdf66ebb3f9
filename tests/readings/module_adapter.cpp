#include "module_adapter.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "host/translation_dictionary.h"
#include "support/host_calls.h"
#include "translate/scanner.h"
#include "translate/timeline.h"
#include "voice_data/settings.h"

namespace module_adapter {

namespace {
constexpr std::size_t kBuiltinPairs = 45;
}

bool load_module(const std::string& module_dir) { return host_calls::load_directory(module_dir) != 0; }
void unload_module() { unload(); }

std::size_t loaded_pairs() { return vokari::translation_dictionary.size(); }

std::string translate(const std::string& sjis) {
    std::string text = sjis;
    vokari::apply_translation(text);
    return text;
}

std::string translate_builtin(const std::string& sjis) {
    std::vector<vokari::TranslationPair> all;
    all.swap(vokari::translation_dictionary);
    const std::size_t keep = all.size() < kBuiltinPairs ? all.size() : kBuiltinPairs;
    vokari::translation_dictionary.assign(all.end() - static_cast<long>(keep), all.end());
    std::string text = sjis;
    vokari::apply_translation(text);
    vokari::translation_dictionary.swap(all);
    return text;
}

std::vector<int> voiced_units(const std::string& voice_text) {
    vokari::scan_script(voice_text);
    const double samples_per_character = vokari::settings.talk_default_speed * 22.05;
    // (character index, slot or -1 for silence) of both speakers, in time order.
    std::vector<std::pair<long, int>> starts;
    for (int speaker = 0; speaker < 2; ++speaker) {
        const std::vector<vokari::PhonemeEvent>& events = vokari::timeline.phoneme_events[speaker];
        for (std::size_t i = 0; i < events.size(); ++i) {
            const vokari::PhonemeEvent& e = events[i];
            starts.push_back({std::lround((e.time - vokari::kLeadInSamples) / samples_per_character), e.slot});
            // An onset is followed by the vowel that ends its kana: one unit.
            if (e.slot >= 0 && !e.is_vowel && i + 1 < events.size() && events[i + 1].is_vowel) ++i;
        }
    }
    std::stable_sort(starts.begin(), starts.end(),
                     [](const std::pair<long, int>& a, const std::pair<long, int>& b) { return a.first < b.first; });
    std::vector<int> units;
    long next_character = 0;
    for (const auto& [character, slot] : starts) {
        for (; next_character < character; ++next_character) units.push_back(kLengthening);
        if (character + 1 > next_character) next_character = character + 1;
        if (slot >= 0) units.push_back(slot);
    }
    return units;
}

std::vector<std::string> control_events(const std::string& voice_text) {
    vokari::scan_script(voice_text);
    std::vector<std::string> described;
    for (int speaker = 0; speaker < 2; ++speaker)
        for (const vokari::ControlEvent& e : vokari::timeline.control_events[speaker]) {
            std::ostringstream line;
            line << speaker << " " << e.kind << " " << e.value;
            described.push_back(line.str());
        }
    return described;
}

}  // namespace module_adapter
