// A complete `load` of the fixture voice through the exported entry point: the
// partner fallback after the details, the host's message speed, and trimmed
// samples that stay as they are over later loads.  The log of a full load is
// the golden case voice_full_load, which host_check runs on both builds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vokari.h"
#include "support/fixture_voice.h"
#include "support/host_calls.h"
#include "support/module_state.h"

namespace {

void load_through_exports(const std::string& directory) { ASSERT_EQ(host_calls::load_directory(directory), 1); }

class VoiceLoadTest : public ::testing::Test, protected module_test::ModuleState {
protected:
    void SetUp() override { base_ = fixture::temp_directory("load"); }
    void TearDown() override {
        unload();
        fixture::remove_tree(base_);
    }
    std::string base_;
};

TEST_F(VoiceLoadTest, PartnerBorrowsAfterTheDetailsAndTheHostSpeedIsScaled) {
    // The host's tree: base\data\profile, base\profile and the character's
    // base\ghost\emily\ghost\master holding the module.
    for (const char* d : {"/data", "/data/profile", "/profile", "/ghost", "/ghost/emily", "/ghost/emily/ghost"})
        ASSERT_TRUE(fixture::make_directory(base_ + d));
    fixture::write_text(base_ + "/data/profile/app.dat", "messagespeed,20\r\n");
    fixture::write_text(base_ + "/profile/mainform.txt", "charset,Shift_JIS\r\nmessagespeed,36\r\n");
    const std::string native_module = base_ + "/ghost/emily/ghost/master";
    fixture::VoiceOptions options;
    options.with_partner_consonants = false;
    fixture::make_voice(native_module, options);
    // Both speaker-0 files tune slot 7; the consonant folder's value stays.
    fixture::write_text(native_module + "/vokariv0/details.txt", "[7]\r\ncorrect.level, 0.3\r\n");
    fixture::write_text(native_module + "/vokaric0/details.txt",
                        "[7]\r\ncorrect.level, 0.6\r\nadjust.vowel.delay, 900\r\nadjust.consonant.level, 0.7\r\n");

    const std::string module_path = base_ + "\\ghost\\emily\\ghost\\master";
    vokari::load_module(module_, module_path.c_str(), static_cast<long>(module_path.size()));

    EXPECT_EQ(settings.message_speed, 48);
    EXPECT_EQ(sound_effects.size(), 3u);
    EXPECT_EQ(phoneme_bank.slots[0][7].correct_level, 0.6);
    EXPECT_EQ(phoneme_bank.slots[1][7].correct_level, 0.6);  // copied with the sample
    EXPECT_EQ(phoneme_bank.slots[1][7].vowel_delay, 900);
    EXPECT_EQ(phoneme_bank.slots[1][7].data, phoneme_bank.slots[0][7].data);
    EXPECT_EQ(phoneme_bank.consonant_level[0], 0.7);
    EXPECT_EQ(phoneme_bank.consonant_level[1], 1.0);
    EXPECT_NE(phoneme_bank.slots[1][0].data, phoneme_bank.slots[0][0].data);  // own vowels kept
}

TEST_F(VoiceLoadTest, TrimmedVoiceIsByteIdenticalAfterSecondAndThirdLoad) {
    fixture::VoiceOptions options;
    options.settings_lines = {"delete.excess.hv1, on"};
    fixture::make_voice(base_, options);
    auto snapshot = [this] {
        std::string all;
        for (const char* d : {"vokariv0", "vokariv1", "vokaric0", "vokaric1"})
            for (int slot = 0; slot < vokari::kSlotCount; ++slot)
                for (const char* extension : {".hv1", ".wav", ".hv1.tmp"}) {
                    std::string name = base_ + "/" + d + "/" + std::to_string(slot) + extension;
                    std::vector<std::uint8_t> bytes = fixture::read_file(name);
                    if (!bytes.empty()) all += name + "=" + fixture::fnv1a_hex(bytes) + "\n";
                }
        return all;
    };
    const std::string untouched = snapshot();

    load_through_exports(base_);
    const std::string trimmed = snapshot();
    EXPECT_NE(trimmed, untouched);
    EXPECT_EQ(trimmed.find(".tmp"), std::string::npos);
    for (int again = 2; again <= 3; ++again) {
        unload();
        load_through_exports(base_);
        EXPECT_EQ(snapshot(), trimmed) << "load " << again;
    }
}

}  // namespace
