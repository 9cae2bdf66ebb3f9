// Option parsing for vokari-voicebank.  Values are checked strictly: a
// speaker of "1x" or "" is an error, not speaker 0 or 1.
#include "command_line.h"

namespace vokari {
namespace voicebank {

const char* usage_text() {
    return "usage: vokari-voicebank [--speaker 0|1] RECORDINGS_DIR MODULE_DIR\n"
           "       vokari-voicebank --oto [--subbank NAME] [--speaker 0|1] BANK_DIR MODULE_DIR\n"
           "       vokari-voicebank --help\n"
           "\n"
           "Builds one speaker's sample directories (vokariv<N>/ and vokaric<N>/) in\n"
           "MODULE_DIR, an existing folder.\n"
           "\n"
           "  RECORDINGS_DIR   one recording per syllable, named by its romaji: a.wav,\n"
           "                   ka.wav, shi.wav, n.wav, kya.wav ... (any case, any\n"
           "                   format libsndfile reads)\n"
           "  --oto            read BANK_DIR as a CV voice bank: WAV files with oto.ini\n"
           "                   files that mark each syllable's offset, consonant,\n"
           "                   cutoff and preutterance\n"
           "  --subbank NAME   with --oto: read only the sub-folder NAME of the bank\n"
           "  --speaker 0|1    0 the main character (default), 1 the partner\n"
           "  --help           print this text\n"
           "\n"
           "Exit status:\n"
           "  0  bank written, nothing to report\n"
           "  1  failed; nothing was written and the old bank is untouched\n"
           "  2  usage error; nothing was read or written\n"
           "  3  bank written with warnings: slots left empty or left out (silent,\n"
           "     clipped, or correction beyond the renderer's limits), or estimates\n"
           "     that failed; the warnings are listed at the end\n";
}

Options parse_command_line(const std::vector<std::string>& arguments) {
    Options options;
    std::vector<std::string> paths;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        const bool has_value = i + 1 < arguments.size();
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--oto") {
            options.oto = true;
        } else if (arg == "--speaker") {
            if (!has_value || (arguments[i + 1] != "0" && arguments[i + 1] != "1")) {
                options.error = "--speaker takes 0 or 1";
                return options;
            }
            options.speaker = arguments[++i] == "1" ? 1 : 0;
        } else if (arg == "--subbank") {
            if (!has_value || arguments[i + 1].empty()) {
                options.error = "--subbank takes the name of a sub-folder";
                return options;
            }
            options.subbank = arguments[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            options.error = "unknown option " + arg;
            return options;
        } else {
            paths.push_back(arg);
        }
    }
    if (options.help) return options;
    if (!options.subbank.empty() && !options.oto) {
        options.error = "--subbank needs --oto";
    } else if (paths.size() != 2) {
        options.error = "expected two folders, got " + std::to_string(paths.size());
    } else {
        options.source = paths[0];
        options.module_dir = paths[1];
    }
    return options;
}

}  // namespace voicebank
}  // namespace vokari
