// A test fixture for rendering and sound-file output: a fresh module directory
// and module object with the request log on, a recording player that watches
// the module's image, and a one-vowel timeline.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "vokari.h"
#include "base/module_paths.h"
#include "support/fixture_voice.h"
#include "support/module_state.h"
#include "support/recording_player.h"
#include "support/text_files.h"
#include "synth/wav_image.h"
#include "translate/scanner.h"
#include "synth/sound_file.h"
#include "base/mulaw.h"
#include "translate/timeline.h"
#include "voice_data/phoneme_bank.h"
#include "voice_data/message_speed.h"
#include "voice_data/phoneme_details.h"
#include "voice_data/settings.h"
#include "voice_data/config_text.h"
#include "voice_data/sound_effects.h"

namespace synth_test {

class SynthFixture : public ::testing::Test, protected module_test::ModuleState {
protected:
    void SetUp() override {
        dir_ = fixture::temp_directory("synth");
        ASSERT_FALSE(dir_.empty());
        ASSERT_LT(dir_.size(), vokari::kModuleDirCapacity);
        std::strcpy(module_dir, dir_.c_str());
        load_defaults();
        std::snprintf(settings.log_path, vokari::kPathCapacity, "%s\\test.log", dir_.c_str());
        player_.watch(&image);
        one_vowel_timeline();
    }

    void TearDown() override {
        release_wav_image();
        fixture::remove_tree(dir_);
    }

    // Speaker 0 holds a loud vowel from sample 1000 on.
    void one_vowel_timeline() {
        vokari::PhonemeSlot& slot = phoneme_bank.slots[0][0];
        slot.data.assign(2000, 0x90);
        slot.size = 2000;
        timeline.phoneme_events[0].push_back({1000, 0, 1, 1});
    }

    // The request log with line ends as single line feeds.
    std::string log_text() const { return fixture::read_text_without_cr(native("test.log")); }

    // Native path of `relative` (slash separated) inside the module directory.
    std::string native(const std::string& relative) const { return dir_ + "/" + relative; }

    std::string dir_;
    recording::RecordingPlayer player_;
};

}  // namespace synth_test
