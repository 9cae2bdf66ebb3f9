// Sound-file tags that try to write outside the module directory, sent as
// scripts through the request entry point: absolute paths, drive letters, a
// leading backslash or slash, UNC and device names, and ".." components.  Each
// writes, reloads and deletes nothing, logs the file-output ERROR line once,
// and the request is answered as usual (the speech is played for "wavout[" and
// not for "wavouts[").
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "test_hostile_module.h"
#include "voice_data/sound_effects.h"

namespace {

using hostile::HostileModule;
using hostile::split_waits;

const std::string kA = "\x82\xa0";  // a

class HostileSoundFiles : public HostileModule {
protected:
    void SetUp() override {
        HostileModule::SetUp();
        load_voice();
        player_.clear();
        victim_ = dir_ + "-victim.wav";
        ASSERT_TRUE(fixture::write_file(victim_, {1, 2, 3}));
        ASSERT_TRUE(fixture::make_directory(native("sub")));
    }
    void TearDown() override {
        std::filesystem::remove(victim_);
        HostileModule::TearDown();
    }

    // Every file below the module directory.
    std::set<std::string> files() const {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_))
            if (!entry.is_directory()) found.insert(entry.path().string());
        return found;
    }

    // The victim's name as seen from the module directory's parent.
    std::string victim_name() const { return victim_.substr(victim_.find_last_of('/') + 1); }

    std::string victim_;
};

TEST_F(HostileSoundFiles, PathsOutsideTheModuleDirectoryWriteNothing) {
    const std::vector<uint8_t> chime = sound_effects[0].data;
    const std::string arguments[] = {
        victim_ + ",chime,1",                   // absolute
        "\\" + victim_.substr(1) + ",chime,1",  // leading backslash
        "/victim.wav",                          // leading slash
        "C:\\victim.wav",
        "c:victim.wav",  // drive letters
        "\\\\server\\share\\victim.wav",
        "//server/share/victim.wav",  // UNC
        "\\\\.\\COM1",
        "\\\\?\\C:\\victim.wav",  // device namespaces
        "NUL",
        "con.wav",
        "sub\\aux.wav",
        "sub\\aux .wav",
        "Com1.wav",
        "victim.wav:stream",                  // devices and streams
        "..\\" + victim_name() + ",chime,1",  // ".." components
        "sub\\..\\..\\" + victim_name() + ",chime,1",
        "../" + victim_name(),
        ". .\\" + victim_name(),
        "..",
    };
    const std::set<std::string> before = files();
    std::size_t requests = 0;
    for (const std::string& argument : arguments) {
        for (const char* tag : {"@wavout[", "@wavouts["}) {
            player_.clear();
            EXPECT_EQ(split_waits(speak(tag + argument + "]" + kA)).text, kA) << tag << argument;
            ++requests;
            // "wavouts[" stays silent even though no file could be written.
            EXPECT_EQ(played().size(), std::string(tag) == "@wavout[" ? 1u : 0u) << tag << argument;
            EXPECT_EQ(times_logged(hostile::kFileOutputError), requests) << tag << argument;
        }
    }
    EXPECT_EQ(files(), before);
    EXPECT_EQ(fixture::read_file(victim_), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(sound_effects[0].data, chime);
}

TEST_F(HostileSoundFiles, PathsInsideTheModuleDirectoryAreWritten) {
    speak("@wavout[sub\\..\\inside.wav]" + kA);
    const auto images = played();
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(fixture::read_file(native("inside.wav")), images[0]);
    speak("@wavouts[sub\\quiet.wav]" + kA);
    EXPECT_EQ(fixture::read_file(native("sub/quiet.wav")), images[0]);
    EXPECT_EQ(played().size(), 1u);
    EXPECT_EQ(times_logged(hostile::kFileOutputError), 0u);
}

}  // namespace
