// A private host tree in a temporary folder, so that the module can be loaded
// without writing into the voice folder:
//
//   <base>/data/profile/app.dat        the host's profile files, holding the
//   <base>/profile/mainform.txt        message speed that vokari-say plays
//   <base>/ghost/vokari-say/ghost/master/   the module folder: a copy of the
//                                      voice folder's files, links to its
//                                      folders (copies when the module may
//                                      write into them), and vokari-say's own
//                                      settings file, log and sound file
//
// The module finds the host's base folder from its module folder the way it
// does under the host application, so it reads the message speed from there.
// The copy of the voice's "vokari.txt" gains three lines: a log of vokari-say's
// own, and two dictionaries, one loaded before and one after the voice's own,
// that turn vokari-say's sound-file tag into a placeholder byte and back, so
// that no dictionary of the voice can rewrite the tag; when nothing may be
// played, the second also turns every played sound-file tag into a silent one.
#pragma once

#include <string>

namespace vokari {
namespace say {

struct PrivateHostPlan {
    std::string voice_dir;      // the voice folder to copy (absolute)
    int message_speed_ms = 50;  // the host's message speed to write
    std::string sound_tag;      // vokari-say's tag that asks for the sound file
                                // (Shift_JIS), or "" when none is sent
    std::string request_text;   // the bytes that will be sent (the placeholder
                                // must not occur in them)
    bool silent = false;        // nothing may be played: the script's own
                                // sound-file tags are made silent too
};

class PrivateHost {
public:
    // The sound file's name in the module folder, for the sound-file tag.
    static constexpr const char* kSoundFileName = "vokari-say-out.wav";

    PrivateHost() = default;
    PrivateHost(const PrivateHost&) = delete;
    PrivateHost& operator=(const PrivateHost&) = delete;
    // Removes the whole tree.
    ~PrivateHost();

    // Builds the tree for `plan`.  False, with a message, when it cannot be
    // built; nothing is left behind then.  While the tree exists an interrupt
    // (Ctrl-C), a hang-up or a termination signal removes it before the
    // program ends, and so does a closed standard output (SIGPIPE).
    bool create(const PrivateHostPlan& plan, std::string& error);

    // The module folder as the host hands it to `load`: the Windows form of
    // the path, with backslash separators.
    std::string module_dir_for_load() const;

    // The path of a file in the private module folder.
    std::string module_file(const std::string& name) const;

    // The module's request log and the sound file, in the private module folder.
    std::string log_path() const { return module_file(kLogName); }
    std::string sound_file_path() const { return module_file(kSoundFileName); }

    // Removes the tree now (also done by the destructor).
    void remove();

private:
    static constexpr const char* kLogName = "vokari-say.log";

    std::string base_;        // the tree's root (empty when none)
    std::string module_dir_;  // native path of the private module folder
};

}  // namespace say
}  // namespace vokari
