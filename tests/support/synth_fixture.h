// A test fixture for rendering and sound-file output: the voice-data fixture
// (a fresh module directory and module object with the request log on), with
// a recording player that watches the module's image and a one-vowel
// timeline.
#pragma once

#include "support/recording_player.h"
#include "support/voice_data_test.h"
#include "synth/sound_file.h"
#include "synth/wav_image.h"
#include "translate/scanner.h"
#include "translate/timeline.h"
#include "base/mulaw.h"

namespace synth_test {

class SynthFixture : public voice_test::VoiceDataTest {
protected:
    void SetUp() override {
        VoiceDataTest::SetUp();
        player_.watch(&image);
        one_vowel_timeline();
    }
    void TearDown() override {
        release_wav_image();
        VoiceDataTest::TearDown();
    }

    // Speaker 0 holds a loud vowel from sample 1000 on.
    void one_vowel_timeline() {
        vokari::PhonemeSlot& slot = phoneme_bank.slots[0][0];
        slot.data.assign(2000, 0x90);
        slot.size = 2000;
        timeline.phoneme_events[0].push_back({1000, 0, 1, 1});
    }

    recording::RecordingPlayer player_;
};

}  // namespace synth_test
