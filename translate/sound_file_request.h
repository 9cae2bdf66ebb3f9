// The sound file that a script asks for, read from its tag once at scan time
// and carried as it is to the output.
#pragma once

#include <string>

namespace vokari {

// A sound file asked for by "wavout[" / "wavouts[" (argument
// "path[,effect name[,delete flag]]"): where to write the speech, the sound
// effect to load it back into, whether to delete the file afterwards, and
// whether the speech is saved without being played.
struct SoundFileRequest {
    std::string path;         // module directory, backslash, path; empty: no file
    std::string effect_name;  // empty: no effect is reloaded
    int delete_flag = 0;
    int silent = 0;
};

// The request of a tag with `argument` in the module directory `module_dir`.
// The fields are split at every comma of the joined path, the directory's
// included (a comma there cuts the path, which is then refused).
SoundFileRequest sound_file_request(const char* module_dir, const std::string& argument, int silent);

}  // namespace vokari
