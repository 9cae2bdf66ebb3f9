// Damaged and outsized voice files: samples of 0 and 1 bytes and truncated
// ones, details files of random bytes or with fade lengths of 0 and below, a
// settings file with NUL bytes or lines of a megabyte, a dictionary of 100,000
// pairs, and module directories at and beyond the 1,024-byte limit.  Loading
// always finishes, and the module answers every request after it.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "voice_data/request_log.h"
#include "translate/translation_dictionary.h"
#include "test_hostile_module.h"
#include "translate/timeline.h"
#include "voice_data/phoneme_bank.h"
#include "voice_data/message_speed.h"
#include "voice_data/phoneme_details.h"
#include "voice_data/settings.h"
#include "voice_data/config_text.h"
#include "voice_data/sound_effects.h"

namespace {

using hostile::HostileModule;
using hostile::split_waits;

const std::string kA = "\x82\xa0";   // a (slot 0)
const std::string kKa = "\x82\xa9";  // ka (slot 5)
const std::string kKi = "\x82\xab";  // ki (slot 6)

class HostileVoiceFiles : public HostileModule {
protected:
    void write(const std::string& relative, const std::vector<std::uint8_t>& bytes) const {
        ASSERT_TRUE(fixture::write_file(native(relative), bytes)) << relative;
    }
    void append(const std::string& relative, const std::string& text) const {
        std::vector<std::uint8_t> bytes = fixture::read_file(native(relative));
        bytes.insert(bytes.end(), text.begin(), text.end());
        write(relative, bytes);
    }
    void remove(const std::string& relative) const { std::remove(native(relative).c_str()); }

    static std::vector<std::uint8_t> wav_file(std::int32_t header_samples, std::size_t sample_bytes) {
        std::vector<std::uint8_t> file = fixture::wav_header(header_samples);
        file.resize(file.size() + sample_bytes, 0x90);
        return file;
    }

    // `count` bytes of a fixed pseudo-random sequence.
    static std::vector<std::uint8_t> random_bytes(std::size_t count, std::uint32_t seed) {
        std::vector<std::uint8_t> bytes(count);
        for (std::uint8_t& b : bytes) {
            seed = seed * 1664525u + 1013904223u;
            b = static_cast<std::uint8_t>(seed >> 24);
        }
        return bytes;
    }

    static bool is_silent(const std::vector<std::uint8_t>& image) {
        for (std::size_t i = 58; i < image.size(); ++i)
            if (image[i] != 0xFF) return false;
        return true;
    }
};

TEST_F(HostileVoiceFiles, SamplesOfZeroAndOneBytes) {
    write_voice();
    write("vokariv0/0.hv1", {});      // 0 bytes: a silent slot
    write("vokariv0/1.hv1", {0x90});  // 1 byte: a vowel that loops on one sample
    remove("vokariv0/2.hv1");
    write("vokariv0/2.wav", {'R'});   // shorter than the header: no slot
    write("vokaric0/5.hv1", {0x90});  // 1 byte: an onset with no fade length
    remove("vokaric0/6.hv1");
    write("vokaric0/6.wav", wav_file(0, 0));  // the header alone: a silent slot
    remove("vokaric0/7.hv1");
    write("vokaric0/7.wav", wav_file(1, 1));
    load_dir();
    EXPECT_EQ(phoneme_bank.slots[0][0].size, 0);
    EXPECT_EQ(phoneme_bank.slots[0][1].size, 1);
    EXPECT_EQ(phoneme_bank.slots[0][2].size, 0);
    EXPECT_EQ(phoneme_bank.slots[0][5].size, 1);
    EXPECT_EQ(phoneme_bank.slots[0][5].loop_chunk_offset, 0);
    EXPECT_EQ(phoneme_bank.slots[0][6].size, 0);
    EXPECT_EQ(phoneme_bank.slots[0][7].size, 1);

    // a i u ka ki ku, with the long-vowel bar to let the loops run on.
    const std::string script = "\x82\xa0\x82\xa2\x81[\x82\xa4\x82\xa9\x82\xab\x82\xad\x81[\x81[";
    EXPECT_EQ(split_waits(speak(script)).text, script);
    const std::vector<std::uint8_t> first = played_image();
    ASSERT_EQ(first.size(), 58u + 1000 + 10 * 130 * 22050 / 1000);
    player_.clear();
    speak(script);
    EXPECT_EQ(played_image(), first);  // nothing read from outside the samples
}

TEST_F(HostileVoiceFiles, TruncatedSamplesAndEffects) {
    write_voice();
    remove("vokariv0/3.hv1");
    write("vokariv0/3.wav", wav_file(5000, 100));            // the header promises more than there is
    write("effects/click.wav", {'R', 'I', 'F', 'F', 0, 0});  // shorter than the header
    write("effects/knock.wav", wav_file(1800, 0));           // the header alone
    load_dir();
    EXPECT_EQ(phoneme_bank.slots[0][3].size, 100);
    ASSERT_EQ(sound_effects.size(), 2u);  // the short effect file adds nothing
    EXPECT_EQ(sound_effects[0].name, "chime");
    EXPECT_EQ(sound_effects[1].name, "knock");
    EXPECT_EQ(sound_effects[1].size, 0);
    EXPECT_EQ(find_sound_effect("click"), -1);
    EXPECT_EQ(split_waits(speak("@a[knock]@a[click]\x82\xa6\x81[")).text, "\x82\xa6\x81[");
    EXPECT_EQ(played().size(), 1u);
}

TEST_F(HostileVoiceFiles, DetailsFilesOfRandomBytes) {
    write_voice();
    const char* directories[] = {"vokariv0", "vokariv1", "vokaric0", "vokaric1"};
    std::uint32_t seed = 1;
    for (const char* directory : directories)
        write(std::string(directory) + "/details.txt", random_bytes(65536, seed++));
    load_dir();
    for (const char* directory : directories)
        EXPECT_NE(log_text().find(std::string("reading details from directory ") + directory + " : Done.\n"),
                  std::string::npos)
            << directory;
    // "kakikukeko aiueo" from both speakers.
    const std::string script = "\\0\x82\xa9\x82\xab\x82\xad\x82\xaf\x82\xb1\\1\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8";
    const std::string reply = speak(script);
    EXPECT_EQ(split_waits(reply).text, script);
    EXPECT_EQ(played_image().size(), 58u + 1000 + 11 * 130 * 22050 / 1000);
}

// A consonant slot whose details give it no fade length (0) or a negative one
// starts no onset voice; the vowel after it fades in with the fixed ramp step
// (fade 0) or, given a negative fade, is not started either.
TEST_F(HostileVoiceFiles, LoopChunkOffsetOfZeroOrBelow) {
    write_voice();
    append("vokaric0/details.txt", "[5]\r\nloopchunkofset, 0\r\n[6]\r\nloopchunkofset, -100\r\n");
    append("vokariv0/details.txt", "[0]\r\nloopchunkofset, -5000\r\n");
    load_dir();
    EXPECT_EQ(phoneme_bank.slots[0][5].loop_chunk_offset, 0);
    EXPECT_EQ(phoneme_bank.slots[0][6].loop_chunk_offset, -100);
    EXPECT_EQ(phoneme_bank.slots[0][0].loop_chunk_offset, -5000);

    speak(kKa);
    EXPECT_FALSE(is_silent(played_image()));
    ASSERT_EQ(request_.timeline.phoneme_events[0].size(), 3u);
    EXPECT_EQ(request_.timeline.phoneme_events[0][1].fade_in, 0);
    player_.clear();
    speak(kKi);
    EXPECT_TRUE(is_silent(played_image()));
    ASSERT_EQ(request_.timeline.phoneme_events[0].size(), 3u);
    EXPECT_EQ(request_.timeline.phoneme_events[0][1].fade_in, -100);
    // A vowel whose loop starts before its data plays out and falls silent.
    player_.clear();
    speak(kA + "\x81[\x81[\x81[\x81[\x81[\x81[\x81[");
    EXPECT_FALSE(is_silent(played_image()));
}

TEST_F(HostileVoiceFiles, SettingsWithNulBytes) {
    write_voice();
    const char lines[] =
        "talk.default.speed, 1\0"
        "50\r\nse, be\0ep, effects\\chime.wav\r\n\0\0\0\r\ntag.prefix, #\r\n";
    append("vokari.txt", std::string(lines, sizeof lines - 1));
    load_dir();
    // NUL bytes are skipped while a line is read.
    EXPECT_EQ(settings.talk_default_speed, 150);
    EXPECT_EQ(find_sound_effect("beep"), 3);
    EXPECT_EQ(settings.tag_prefix, '#');
    EXPECT_EQ(speak("#s[200]" + kA), kA + "\\_w[" + std::to_string(400 - settings.message_speed - 45) + "]");
}

TEST_F(HostileVoiceFiles, SettingsWithLinesOfAMegabyte) {
    write_voice();
    const std::string megabyte(1 << 20, 'x');
    append("vokari.txt", "// " + megabyte + "\r\n" +                // a comment
                             megabyte + "\r\n" +                    // no comma
                             megabyte + ", " + megabyte + "\r\n" +  // an unknown key
                             "voice.translate.dic, " + megabyte + ".dic\r\n" + "tag.prefix, %" + megabyte + "\r\n" +
                             "talk.default.speed, " + std::string(1 << 20, '9') + "\r\n" +
                             "talk.default.speed, 150\r\n");
    load_dir();
    EXPECT_EQ(settings.tag_prefix, '%');
    EXPECT_EQ(settings.talk_default_speed, 150);
    EXPECT_TRUE(log_is_on());
    // The dictionary whose path cannot be formed is logged as not opened.
    EXPECT_NE(log_text().find(megabyte + ".dic...Can't open file.\n"), std::string::npos);
    EXPECT_EQ(sound_effects.size(), 3u);
}

TEST_F(HostileVoiceFiles, DictionaryOfAHundredThousandPairs) {
    write_voice({"voice.translate.dic, big.dic"});
    std::string dictionary;
    for (int i = 0; i < 100000; ++i)
        dictionary += "#" + std::to_string(i) + "#, " + (i == 99999 ? kKa : std::string("\x82\xf1")) + "\r\n";
    write("big.dic", std::vector<std::uint8_t>(dictionary.begin(), dictionary.end()));
    load_dir();
    EXPECT_EQ(translation_dictionary.size(), 100000u + 45);
    EXPECT_NE(log_text().find("big.dic...Done.\n"), std::string::npos);
    // The last pair of the file speaks "#99999#" as ka; the reply keeps the text.
    EXPECT_EQ(split_waits(speak("#99999#")).text, "#99999#");
    ASSERT_FALSE(request_.timeline.phoneme_events[0].empty());
    EXPECT_EQ(request_.timeline.phoneme_events[0][0].slot, 5);
}

// Every file of the module is named as the directory, a backslash and a
// relative name in 1,027 bytes: from a directory of 1,024 bytes no file can be
// named, so the module runs on its defaults, and from one of 5,000 bytes the
// directory itself is refused.
TEST_F(HostileVoiceFiles, ModuleDirectoryOfExactly1024Bytes) {
    std::string directory = dir_;
    while (directory.size() < 1024) {
        const std::size_t left = 1024 - directory.size() - 1;
        directory += "/" + std::string(left > 200 ? 200 : (left == 0 ? 1 : left), 'd');
        ASSERT_TRUE(fixture::make_directory(directory));
    }
    ASSERT_EQ(directory.size(), 1024u);
    fixture::VoiceOptions options;
    options.settings_lines = {"log, hostile.log", "talk.default.speed, 200"};
    fixture::make_voice(directory, options);
    load_from(directory);
    EXPECT_EQ(std::string(module_dir), directory);
    EXPECT_EQ(settings.talk_default_speed, 130);
    EXPECT_FALSE(log_is_on());
    EXPECT_TRUE(sound_effects.empty());
    EXPECT_EQ(phoneme_bank.slots[0][0].size, 0);
    EXPECT_EQ(translation_dictionary.size(), 45u);
    EXPECT_EQ(speak(kA), kA + "\\_w[" + std::to_string(260 - settings.message_speed - 45) + "]");
    EXPECT_EQ(played().size(), 1u);
}

TEST_F(HostileVoiceFiles, ModuleDirectoryOf5000Bytes) {
    load_voice();
    const std::string directory = dir_ + "/" + std::string(5000 - dir_.size() - 1, 'd');
    load_from(directory);
    EXPECT_EQ(std::string(module_dir), "");
    EXPECT_EQ(settings.talk_default_speed, 130);
    EXPECT_FALSE(log_is_on());
    EXPECT_TRUE(sound_effects.empty());
    EXPECT_EQ(translation_dictionary.size(), 45u);
    EXPECT_EQ(split_waits(speak(kA + "@wavout[x.wav]")).text, kA);
    EXPECT_EQ(played().size(), 1u);
}

}  // namespace
