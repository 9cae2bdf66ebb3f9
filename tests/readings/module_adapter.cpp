#include "module_adapter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include <unistd.h>

#include "host/module.h"
#include "host/request.h"
#include "platform/platform.h"
#include "translate/scanner.h"
#include "voice_data/settings.h"
#include "translate/timeline.h"

namespace module_adapter {

namespace {

constexpr std::size_t kBuiltinPairs = 45;

// The adapter's own module object and the state of its last request or scan.
struct Adapter {
    std::unique_ptr<vokari::Module> loaded;  // null while nothing is loaded
    vokari::RequestState request;
};

Adapter& adapter() {
    static Adapter the_adapter;
    return the_adapter;
}

}  // namespace

// The loaded module; one on its defaults with the built-in pairs when none is.
vokari::Module& module() {
    Adapter& a = adapter();
    if (!a.loaded) {
        a.loaded = std::make_unique<vokari::Module>();
        vokari::load_defaults(a.loaded->voice);
        vokari::add_system_pairs(a.loaded->voice.settings, a.loaded->dictionary);
    }
    return *a.loaded;
}

bool load_module(const std::string& module_dir) {
    unload_module();
    Adapter& a = adapter();
    a.loaded = std::make_unique<vokari::Module>();
    vokari::load_module(*a.loaded, module_dir.data(), static_cast<long>(module_dir.size()));
    return std::string(a.loaded->voice.module_dir) == module_dir;
}

bool load_general_dictionary() {
    namespace fs = std::filesystem;
    static const fs::path dir = [] {
        const fs::path made = fs::temp_directory_path() / ("vokari_general_dictionary_" + std::to_string(::getpid()));
        fs::create_directories(made);
        fs::copy_file(fs::path(VOKARI_SOURCE_DIR) / "voices/default/reading.dic", made / "reading.dic",
                      fs::copy_options::overwrite_existing);
        std::ofstream(made / "vokari.txt", std::ios::binary) << "voice.translate.dic,reading.dic\n";
        return made;
    }();
    return load_module(dir.string());
}

void unload_module() {
    Adapter& a = adapter();
    if (a.loaded) vokari::unload_module(*a.loaded);
    a.loaded.reset();
}

std::string answer(const std::string& request) {
    Adapter& a = adapter();
    a.request = vokari::RequestState();
    std::string response;
    vokari::handle_logged_request(module(), a.request, request.c_str(), vokari::platform::tick_count(), response);
    return response;
}

std::size_t loaded_pairs() { return module().dictionary.size(); }

std::string translate(const std::string& sjis) {
    const vokari::Module& m = module();
    std::string text = sjis;
    vokari::apply_translation(m.voice.settings, m.dictionary, text, &m.dictionary_index);
    return text;
}

std::string translate_builtin(const std::string& sjis) {
    const vokari::Module& m = module();
    const std::size_t keep = std::min(m.dictionary.size(), kBuiltinPairs);
    const vokari::TranslationDictionary builtin(m.dictionary.end() - static_cast<long>(keep), m.dictionary.end());
    std::string text = sjis;
    vokari::apply_translation(m.voice.settings, builtin, text);
    return text;
}

std::vector<int> voiced_units(const std::string& voice_text) {
    Adapter& a = adapter();
    vokari::Timeline& timeline = a.request.timeline;
    vokari::scan_script(module().voice, voice_text, timeline);
    const double samples_per_character = module().voice.settings.talk_default_speed * 22.05;
    // (start time in samples, slot or -1 for silence) of every character
    // with an event, both speakers, in time order.
    std::vector<std::pair<std::int32_t, int>> starts;
    for (int speaker = 0; speaker < 2; ++speaker) {
        const std::vector<vokari::PhonemeEvent>& events = timeline.phoneme_events[speaker];
        for (std::size_t i = 0; i < events.size(); ++i) {
            starts.push_back({events[i].time, events[i].slot});
            // An onset is followed by the vowel that ends its kana: one unit.
            if (events[i].slot >= 0 && !events[i].is_vowel && i + 1 < events.size() && events[i + 1].is_vowel) ++i;
        }
    }
    std::stable_sort(
        starts.begin(), starts.end(),
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
        for (const vokari::ControlEvent& e : adapter().request.timeline.control_events[speaker]) {
            std::ostringstream line;
            line << speaker << " " << e.kind << " " << e.value;
            described.push_back(line.str());
        }
    return described;
}

std::vector<std::string> last_phoneme_events() {
    std::vector<std::string> described;
    for (int speaker = 0; speaker < 2; ++speaker)
        for (const vokari::PhonemeEvent& e : adapter().request.timeline.phoneme_events[speaker])
            described.push_back(std::to_string(speaker) + " " + std::to_string(e.time) + " " + std::to_string(e.slot));
    return described;
}

}  // namespace module_adapter
