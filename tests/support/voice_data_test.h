// A test fixture for the voice-data loaders: a fresh module directory and a
// fresh module object per test, with the request log turned on.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "vokari.h"
#include "base/module_paths.h"
#include "support/fixture_voice.h"
#include "support/module_state.h"
#include "support/text_files.h"
#include "voice_data/phoneme_bank.h"
#include "voice_data/message_speed.h"
#include "voice_data/phoneme_details.h"
#include "voice_data/settings.h"
#include "voice_data/config_text.h"
#include "voice_data/sound_effects.h"

namespace voice_test {

class VoiceDataTest : public ::testing::Test, protected module_test::ModuleState {
protected:
    void SetUp() override {
        dir_ = fixture::temp_directory("voice");
        ASSERT_FALSE(dir_.empty());
        set_module_dir(dir_);
        load_defaults();
        turn_log_on();
    }

    void TearDown() override { fixture::remove_tree(dir_); }

    void set_module_dir(const std::string& dir) {
        ASSERT_LT(dir.size(), vokari::kModuleDirCapacity);
        std::strcpy(module_dir, dir.c_str());
    }

    // The log goes to "<module dir>\\test.log" (outside the sample folders).
    void turn_log_on() { std::snprintf(settings.log_path, vokari::kPathCapacity, "%s\\test.log", dir_.c_str()); }

    // The log with single line feeds.
    std::string log_text() const { return fixture::read_text_without_cr(native("test.log")); }

    // Native path of `relative` (slash separated) inside the module directory.
    std::string native(const std::string& relative) const { return dir_ + "/" + relative; }

    void make_dir(const std::string& relative) const { ASSERT_TRUE(fixture::make_directory(native(relative))); }

    void write(const std::string& relative, const std::vector<std::uint8_t>& bytes) const {
        ASSERT_TRUE(fixture::write_file(native(relative), bytes));
    }

    void write_text(const std::string& relative, const std::string& text) const {
        ASSERT_TRUE(fixture::write_text(native(relative), text));
    }

    // `count` bytes counting up from `first` (wrapping), easy to tell apart.
    static std::vector<std::uint8_t> ramp(int count, int first = 0) {
        std::vector<std::uint8_t> bytes(count);
        for (int i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
        return bytes;
    }

    std::string dir_;
};

}  // namespace voice_test
