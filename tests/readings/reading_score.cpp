#include "reading_score.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "module_adapter.h"
#include "tools/readings/japanese_text.h"
#include "tools/text/shift_jis.h"
#include "tools/readings/script_text.h"

namespace reading_score {

Score score_lines(vokari::readings::Morphology& morphology, const std::vector<std::string>& lines, bool with_dictionary,
                  const std::map<std::string, std::string>& known_readings) {
    Score score;
    for (const std::string& line : lines) {
        const auto encoded = vokari::text::utf8_to_shift_jis(line);
        if (!encoded.ok) continue;
        const std::string& script = encoded.shift_jis;
        std::string reading;
        for (std::string segment : vokari::readings::spoken_segments(line, '@')) {
            for (const auto& [text, kana] : known_readings)
                for (std::size_t at; (at = segment.find(text)) != std::string::npos;)
                    segment.replace(at, text.size(), kana);
            reading += vokari::readings::spoken_reading(morphology.analyse(segment)) + "\n";
        }
        const auto reading_sjis = vokari::text::utf8_to_shift_jis(reading);
        if (!reading_sjis.ok) continue;
        const std::vector<int> expected =
            module_adapter::voiced_units(module_adapter::translate_builtin(reading_sjis.shift_jis));
        const std::vector<int> spoken = module_adapter::voiced_units(
            with_dictionary ? module_adapter::translate(script) : module_adapter::translate_builtin(script));
        const long errors = edit_distance(expected, spoken);
        if (errors > 0 && with_dictionary && std::getenv("VOKARI_SCORE_VERBOSE") != nullptr) {
            const std::string voiced = with_dictionary ? module_adapter::translate(script) : script;
            std::fprintf(stderr, "%ld: %s\n   read: %s   voiced: %s\n", errors, line.c_str(), reading.c_str(),
                         vokari::text::shift_jis_to_utf8(voiced).utf8.c_str());
        }
        score.errors += errors;
        score.reference += static_cast<long>(expected.size());
        ++score.lines;
    }
    return score;
}

}  // namespace reading_score
