// A sound file that the module writes into its own directory at our request
// (the module writes only there) and that vokari-say then takes away.
#pragma once

#include <string>

namespace vokari_say {

class SoundCapture {
public:
    SoundCapture() = default;
    SoundCapture(const SoundCapture&) = delete;
    SoundCapture& operator=(const SoundCapture&) = delete;
    // Removes the file if it is still in the module directory.
    ~SoundCapture();

    // Reserves a new, uniquely named empty file in `module_dir` (an absolute
    // path).  False, with a message, when the directory cannot take it.  While
    // the file exists an interrupt (Ctrl-C) removes it before the program ends.
    bool reserve(const std::string& module_dir, std::string& error);

    // The voice-control tag that asks the module to write the rendered speech
    // to the reserved file: `prefix` + "wavout[" (played as well) or
    // "wavouts[" (`silent`: written only) + the file name + "]".
    std::string request_tag(char prefix, bool silent) const;

    // The reserved file's path.
    const std::string& path() const { return path_; }

    // True when the module has written the file (it is no longer empty).
    bool written() const;

    // Moves the file to `destination` (renaming, or copying and removing
    // across file systems).  False, with a message, when that fails.
    bool move_to(const std::string& destination, std::string& error);

private:
    void discard();

    std::string name_;
    std::string path_;
};

}  // namespace vokari_say
