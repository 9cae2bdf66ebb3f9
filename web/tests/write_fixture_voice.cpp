// Writes the tests' fixture voice into a directory, so that the browser test
// can hand the page exactly the voice the golden cases were recorded with.
//   write_fixture_voice DIR [SETTINGS_LINE...]
#include <cstdio>
#include <string>
#include <vector>

#include "support/fixture_voice.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: write_fixture_voice DIR [SETTINGS_LINE...]\n");
        return 2;
    }
    fixture::VoiceOptions options;
    for (int i = 2; i < argc; ++i) options.settings_lines.push_back(argv[i]);
    fixture::make_voice(argv[1], options);
    return 0;
}
