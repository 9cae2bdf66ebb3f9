// The reading step on any bytes: the bundled voice's analyser dictionary
// (built by the target vokari_reading_dictionary), a script of any bytes read
// in context as a request reads it.  Nothing may crash, hang or read past a
// buffer, inside the analyser included.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "reading/text_reader.h"
#include "translate/reading_between_tags.h"
#include "voice_data/settings.h"

namespace {

vokari::TextReader& reader() {
    static vokari::TextReader the_reader;
    static const bool opened = [] {
        const std::string problem = the_reader.open(std::string(VOKARI_SOURCE_DIR) + "/voices/default/naist-jdic");
        if (!problem.empty()) std::abort();  // no dictionary: nothing to fuzz
        return true;
    }();
    (void)opened;
    return the_reader;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vokari::Settings settings{};
    settings.tag_prefix = '@';
    std::string script(reinterpret_cast<const char*>(data), size);
    std::vector<vokari::ReadWord> words;
    vokari::read_in_context(settings, reader(), script, &words);
    return 0;
}
