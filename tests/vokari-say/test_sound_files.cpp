// Reading the module's WAV files and drawing them.
#include <gtest/gtest.h>

#include "support/fixture_voice.h"
#include "tools/vokari-say/mulaw_wav.h"
#include "tools/vokari-say/utterance_svg.h"

using namespace vokari::say;

namespace {

class SoundFiles : public ::testing::Test {
protected:
    void SetUp() override { dir_ = fixture::temp_directory("say-files"); }
    void TearDown() override { fixture::remove_tree(dir_); }
    std::string dir_;
};

TEST_F(SoundFiles, ReadsTheModulesWavLayout) {
    std::vector<std::uint8_t> bytes = fixture::wav_header(4410);
    for (int i = 0; i < 4410; ++i) bytes.push_back(i == 0 ? 0x80 : 0xFF);
    fixture::write_file(dir_ + "/a.wav", bytes);
    const MuLawWav wav = read_mulaw_wav(dir_ + "/a.wav");
    ASSERT_TRUE(wav.ok) << wav.error;
    EXPECT_EQ(wav.sample_rate, 22050);
    ASSERT_EQ(wav.samples.size(), 4410u);
    EXPECT_EQ(wav.samples[0], 8158);
    EXPECT_EQ(duration_ms(wav), 200);
}

TEST_F(SoundFiles, RefusesFilesThatAreNotMuLawWav) {
    std::vector<std::uint8_t> pcm = fixture::wav_header(10);
    pcm[20] = 1;  // format tag 1: linear PCM
    fixture::write_file(dir_ + "/pcm.wav", pcm);
    fixture::write_text(dir_ + "/text.wav", "hello");
    pcm[20] = 7;  // mu-law's tag 7 in the low byte of tag 0x0107
    pcm[21] = 1;
    fixture::write_file(dir_ + "/tag.wav", pcm);
    for (const char* name : {"/pcm.wav", "/text.wav", "/tag.wav", "/missing.wav"}) {
        const MuLawWav wav = read_mulaw_wav(dir_ + name);
        EXPECT_FALSE(wav.ok) << name;
        EXPECT_NE(wav.error.find(name + 1), std::string::npos) << wav.error;
    }
}

TEST_F(SoundFiles, PictureShowsEachCharacterAtItsMoment) {
    std::vector<std::uint8_t> bytes = fixture::wav_header(22050);
    bytes.resize(bytes.size() + 22050, 0x90);
    fixture::write_file(dir_ + "/a.wav", bytes);
    // A 1000 ms sound and two characters at 0 and 500 ms; the axis spans 1000 ms
    // over 1000 pixels from x = 60.
    const DisplayTimeline timeline = build_display_timeline("<\\1&", 500);
    const std::string svg = draw_utterance_svg(read_mulaw_wav(dir_ + "/a.wav"), timeline, "a<b");
    EXPECT_EQ(svg.rfind("<svg", 0), 0u);
    EXPECT_NE(svg.find(">a&lt;b</text>"), std::string::npos);
    EXPECT_NE(svg.find("x='60.0' y='250.0' text-anchor='middle' font-size='15' fill='#1f5fbf'>&lt;</text>"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("x='560.0' y='272.0' text-anchor='middle' font-size='15' fill='#c0392b'>&amp;</text>"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("<path"), std::string::npos);
    // Where the text is done and where the sound ends: both at 1000 ms here.
    for (const char* end : {"y='52.0' text-anchor='end' font-size='11' fill='#555'>text done</text>",
                            "y='66.0' text-anchor='end' font-size='11' fill='#555'>sound ends</text>"})
        EXPECT_NE(svg.find(std::string("<text x='1057.0' ") + end), std::string::npos) << end;
}

// Ticks every 50 ms while that makes at most a dozen steps (600 ms), every
// 100 ms beyond.
TEST_F(SoundFiles, PictureTicksEvery50MsUpTo600Ms) {
    for (const auto& [samples, fifties] : {std::pair<std::size_t, bool>{13230, true}, {14333, false}}) {
        std::vector<std::uint8_t> bytes = fixture::wav_header(static_cast<int>(samples));
        bytes.resize(bytes.size() + samples, 0xFF);
        fixture::write_file(dir_ + "/ticks.wav", bytes);
        const std::string svg =
            draw_utterance_svg(read_mulaw_wav(dir_ + "/ticks.wav"), build_display_timeline("", 500), "");
        EXPECT_NE(svg.find("font-size='11'>600</text>"), std::string::npos) << samples;
        EXPECT_EQ(svg.find("font-size='11'>550</text>") != std::string::npos, fifties) << samples;
    }
}

// A column shows the peaks of exactly its own samples: one click lights two
// of the 1000 columns when they are zoomed in below one sample a pixel (20
// ms), and one column when each holds about 22 samples and the click is not
// the first of them (1 s).
TEST_F(SoundFiles, PictureDrawsEachSampleInItsOwnColumns) {
    const struct {
        std::size_t samples, click;
        int lit;
    } cases[] = {{441, 200, 2}, {22050, 10, 1}};
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes = fixture::wav_header(static_cast<int>(c.samples));
        bytes.resize(bytes.size() + c.samples, 0xFF);      // silence
        bytes[bytes.size() - c.samples + c.click] = 0x80;  // full scale
        fixture::write_file(dir_ + "/click.wav", bytes);
        const std::string svg =
            draw_utterance_svg(read_mulaw_wav(dir_ + "/click.wav"), build_display_timeline("", 500), "");
        const std::size_t path = svg.find("<path");
        ASSERT_NE(path, std::string::npos);
        const std::string d = svg.substr(path, svg.find("'/>", path) - path);
        int columns = 0, lit = 0;
        for (std::size_t at = d.find('M'); at != std::string::npos; at = d.find('M', at + 1)) {
            ++columns;
            if (d.compare(d.find(' ', at), 7, " 120.0V") != 0) ++lit;
        }
        EXPECT_EQ(columns, 1000) << c.samples;
        EXPECT_EQ(lit, c.lit) << c.samples;
    }
}

}  // namespace
