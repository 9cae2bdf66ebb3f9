// The one place where the reading-dictionary tests reach into the module:
// applying the loaded translation dictionary exactly as a request does, and
// reading back which kana the scanner voiced.  Everything else in these tests
// goes through the module's exports or the builder program.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace module_adapter {

// A unit of speech in voiced_units: a kana slot 0..106, or this value for a
// character that only lengthens the sound before it (the long-vowel mark).
constexpr int kLengthening = 1000;

// Loads the adapter's own module object from `module_dir` as `load` would
// (settings, dictionaries, samples).  Returns false when nothing was read.
bool load_module(const std::string& module_dir);
void unload_module();
// Loads a private folder holding the bundled voice's general dictionary
// (voices/default/reading.dic) as its only setting: the dictionary alone,
// whatever else the bundled voice turns on.
bool load_general_dictionary();

// The response of the loaded module to the request text `request`, as the
// exported `request` answers it.
std::string answer(const std::string& request);

// The number of translation pairs loaded, the 45 built-in ones included.
std::size_t loaded_pairs();

// `sjis` rewritten by the loaded dictionary, as a request rewrites its script.
std::string translate(const std::string& sjis);
// `sjis` rewritten by the built-in pairs only (small kana folded).
std::string translate_builtin(const std::string& sjis);

// What the scanner voices in the Shift_JIS `voice_text` at the default talk
// speed: one unit per voiced kana (contracted sounds are one unit), one per
// lengthening character; silent characters and tags give none.
std::vector<int> voiced_units(const std::string& voice_text);

// The control events of both speakers that the last scan (of answer, or of
// voiced_units) produced, as "speaker kind value" in order, without times.
std::vector<std::string> last_control_events();
// Its sounds and silences, as "speaker time slot" (-1: silence) in order.
std::vector<std::string> last_phoneme_events();

}  // namespace module_adapter
