// The sound file request of a script: its tag's argument split into the
// file, the effect to play and whether the file is deleted after.
#include "translate/sound_file_request.h"

#include <string>
#include <vector>

#include "base/text_routines.h"

namespace vokari {

SoundFileRequest sound_file_request(const char* module_dir, const std::string& argument, int silent) {
    std::vector<std::string> fields;
    split_string(std::string(module_dir) + '\\' + argument, fields, ",", true);
    SoundFileRequest request;
    request.silent = silent;
    request.path = fields[0];
    if (fields.size() > 1) request.effect_name = fields[1];
    if (fields.size() > 2) request.delete_flag = string_to_int(fields[2].c_str());
    return request;
}

}  // namespace vokari
