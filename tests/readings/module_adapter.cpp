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
    // (start time in samples, slot or -1 for silence) of every character
    // with an event, both speakers, in time order.
    std::vector<std::pair<std::int32_t, int>> starts;
    for (int speaker = 0; speaker < 2; ++speaker) {
        const std::vector<vokari::PhonemeEvent>& events = vokari::timeline.phoneme_events[speaker];
        for (std::size_t i = 0; i < events.size(); ++i) {
            starts.push_back({events[i].time, events[i].slot});
            // An onset is followed by the vowel that ends its kana: one unit.
            if (events[i].slot >= 0 && !events[i].is_vowel && i + 1 < events.size() && events[i + 1].is_vowel) ++i;
        }
    }
    std::stable_sort(starts.begin(), starts.end(),
                     [](const std::pair<std::int32_t, int>& a, const std::pair<std::int32_t, int>& b) { return a.first < b.first; });
    // A gap of a whole number of characters without events holds that many
    // lengthening characters; a gap of any other length is a pause tag.
    std::vector<int> units;
    double previous = vokari::kLeadInSamples - samples_per_character;
    for (const auto& [time, slot] : starts) {
        const double gap = time - previous;
        const long characters = std::lround(gap / samples_per_character);
        if (characters >= 2 && std::fabs(gap - characters * samples_per_character) <= 2.0)
            units.insert(units.end(), static_cast<std::size_t>(characters - 1), kLengthening);
        if (time > previous) previous = time;
        if (slot >= 0) units.push_back(slot);
    }
    return units;
}

std::vector<std::string> last_control_events() {
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
