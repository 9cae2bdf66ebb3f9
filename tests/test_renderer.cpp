// The renderer: hand-checked anchors of the mix, the edge cases of events,
// envelopes, loops and effects, the guarded reads, and a byte-for-byte
// comparison with a plain sample-by-sample renderer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "base/mulaw.h"
#include "support/module_state.h"

namespace vokari {
namespace {

// --- the plain renderer -------------------------------------------------------
// Every output sample runs the steps in order over every voice ever started;
// voices are never removed and effects are looked up by number at every sample.
// It makes the module's choices where the mix has no natural answer: reads
// outside a slot's data are silence, an onset without a positive fade
// length or with a negative level and a vowel with a negative fade start
// nothing, effect numbers outside the list start nothing, slots outside the
// row start nothing, and an empty timeline renders silence.
namespace plain {

struct SoundingSample {
    int slot;
    int size;
    double position, rate, gain, target_gain, gain_step;
    std::uint8_t is_vowel;
    int release_countdown;
};
struct Effect {
    int index, position, end;
};

double clamp(double x, double lo, double hi) { return x < lo ? lo : x > hi ? hi : x; }

std::vector<std::uint8_t> render(const LoadedVoice& voice, const Timeline& timeline, int samples) {
    const Settings& settings = voice.settings;
    const PhonemeBank& phoneme_bank = voice.bank;
    const std::vector<SoundEffect>& sound_effects = voice.sound_effects;
    std::vector<std::uint8_t> out(samples, 0xFF);
    if (timeline.phoneme_events[0].empty() && timeline.phoneme_events[1].empty()) return out;
    double pitch[2] = {1.0, 1.0}, level[2] = {1.0, 1.0}, previous_pitch[2] = {1.0, 1.0};
    std::size_t phoneme_cursor[2] = {0, 0}, control_cursor[2] = {0, 0};
    std::vector<SoundingSample> voices[2];
    std::vector<Effect> effects;

    auto slot_of = [&phoneme_bank](int s, int slot) -> const PhonemeSlot& { return phoneme_bank.slots[s][slot]; };
    auto refresh = [&](int s) {
        for (SoundingSample& v : voices[s]) {
            if (v.gain_step != 0.0) continue;
            const PhonemeSlot& p = slot_of(s, v.slot);
            v.rate = p.correct_frequency * pitch[s] * settings.speaker_frequency[s];
            v.gain = p.correct_level * level[s];
            if (!v.is_vowel) {
                v.rate *= phoneme_bank.consonant_frequency[s];
                v.gain *= phoneme_bank.consonant_level[s];
            }
            v.rate = clamp(v.rate, 0.25, 3.0);
            v.gain = clamp(v.gain, 0.0, 3.0);
        }
    };
    auto start = [&](int s, const PhonemeEvent& e) {
        if (e.slot < 0 || e.slot >= kSlotCount) return;
        const PhonemeSlot& p = slot_of(s, e.slot);
        if (p.size <= 0) return;
        SoundingSample v{};
        v.rate = p.correct_frequency * pitch[s] * settings.speaker_frequency[s];
        if (!e.is_vowel) v.rate *= phoneme_bank.consonant_frequency[s];
        v.rate = clamp(v.rate, 0.25, 3.0);
        double g = p.correct_level * level[s];
        if (e.is_vowel) {
            if (e.fade_in < 0) return;
            v.gain = 0.0;
            v.target_gain = g;
            v.gain_step = e.fade_in == 0 ? 0.0006 : g / e.fade_in;
            v.target_gain = clamp(v.target_gain, 0.0, 3.0);
        } else {
            g *= phoneme_bank.consonant_level[s];
            if (p.loop_chunk_offset <= 0 || g < 0.0) return;
            v.gain = g;
            v.target_gain = 100.0;
            v.gain_step = -(g / p.loop_chunk_offset);
            v.gain = clamp(v.gain, 0.0, 3.0);
        }
        v.position = 0.0;
        v.release_countdown = -1;
        v.slot = e.slot;
        v.size = p.size;
        v.is_vowel = e.is_vowel;
        voices[s].push_back(v);
    };
    auto read = [&](const PhonemeSlot& p, long long i) {
        return i >= 0 && i < p.size ? static_cast<double>(mulaw_decode_table[p.data[i]]) : 0.0;
    };

    for (int o = 0; o < samples; ++o) {
        for (int s = 0; s < 2; ++s) {
            previous_pitch[s] = pitch[s];
            const auto& list = timeline.control_events[s];
            while (control_cursor[s] < list.size() && list[control_cursor[s]].time <= o) {
                const ControlEvent& e = list[control_cursor[s]++];
                switch (e.kind) {
                case 0: pitch[s] = clamp(pitch[s] * e.value, 0.25, 3.0); break;
                case 1: pitch[s] = clamp(pitch[s] / e.value, 0.25, 3.0); break;
                case 2: pitch[s] = clamp(e.value, 0.25, 3.0); break;
                case 3: level[s] = clamp(level[s] + e.value, 0.0, 3.0); break;
                case 4: level[s] = clamp(level[s] - e.value, 0.0, 3.0); break;
                case 5: level[s] = clamp(e.value, 0.0, 3.0); break;
                default: break;
                }
                if (e.kind == 6) {
                    const double n = std::trunc(e.value);
                    if (n >= 0 && n < static_cast<double>(sound_effects.size()))
                        effects.push_back({static_cast<int>(n), 0, sound_effects[static_cast<int>(n)].size});
                } else {
                    refresh(s);
                }
            }
        }
        for (int s = 0; s < 2; ++s) {
            const auto& list = timeline.phoneme_events[s];
            while (phoneme_cursor[s] < list.size() && list[phoneme_cursor[s]].time <= o) {
                const PhonemeEvent& e = list[phoneme_cursor[s]++];
                for (SoundingSample& v : voices[s]) {
                    if (v.position > 0 && v.release_countdown == -1 && v.is_vowel == 1) {
                        v.release_countdown = 400;
                        v.rate =
                            slot_of(s, v.slot).correct_frequency * previous_pitch[s] * settings.speaker_frequency[s];
                    }
                }
                if (e.slot != -1) start(s, e);
            }
        }
        for (auto& list : voices) {
            for (SoundingSample& v : list) {
                if (v.release_countdown != -1) {
                    --v.release_countdown;
                    if (v.release_countdown == -1) v.gain_step = -0.0006;
                }
                v.gain += v.gain_step;
                if (v.gain_step > 0 && v.gain >= v.target_gain) {
                    v.gain = v.target_gain;
                    v.gain_step = 0.0;
                    v.target_gain = 100.0;
                }
            }
        }
        long long sum = 0;
        for (int s = 0; s < 2; ++s) {
            for (SoundingSample& v : voices[s]) {
                if (v.gain <= 0) continue;
                v.position += v.rate;
                const double k = std::trunc(v.position - v.size + 1.0);
                if (k >= 0) {
                    if (!v.is_vowel) {
                        v.gain = 0.0;
                        continue;
                    }
                    v.position = slot_of(s, v.slot).loop_chunk_offset + k;
                }
                const long long i = static_cast<long long>(std::trunc(v.position));
                const double f = v.position - std::floor(v.position);
                const PhonemeSlot& p = slot_of(s, v.slot);
                const double value = read(p, i + 1) * f + read(p, i) * (1 - f);
                sum += static_cast<int>(value * v.gain);
            }
        }
        for (Effect& e : effects) {
            if (e.position < e.end) sum += mulaw_decode_table[sound_effects[e.index].data[e.position++]];
        }
        if (sum > 100000) sum = 100000;
        if (sum < -100000) sum = -100000;
        out[o] = encode_sample(static_cast<std::int32_t>(sum));
    }
    return out;
}

}  // namespace plain

// --- fixture ------------------------------------------------------------------

class Renderer : public ::testing::Test, protected module_test::ModuleState {
protected:
    void SetUp() override { reset(); }

    void reset() {
        reset_phoneme_bank();
        timeline.clear();
        sound_effects.clear();
        settings.speaker_frequency[0] = settings.speaker_frequency[1] = 1.0;
    }

    PhonemeSlot& slot(int speaker, int number, const std::vector<std::uint8_t>& data,
                      std::int32_t loop_chunk_offset = 0) {
        PhonemeSlot& s = phoneme_bank.slots[speaker][number];
        s.data = data;
        s.size = static_cast<std::int32_t>(data.size());
        s.loop_chunk_offset = loop_chunk_offset;
        return s;
    }
    void vowel(int speaker, std::int32_t time, int number, std::int32_t fade_in = 1) {
        timeline.phoneme_events[speaker].push_back({time, number, 1, fade_in});
    }
    void onset(int speaker, std::int32_t time, int number) {
        timeline.phoneme_events[speaker].push_back({time, number, 0, 1});
    }
    void silence(int speaker, std::int32_t time) { timeline.phoneme_events[speaker].push_back({time, -1, 0, 1}); }
    void control(int speaker, std::int32_t time, std::int32_t kind, double value) {
        timeline.control_events[speaker].push_back({time, kind, value});
    }
    void effect(const std::vector<std::uint8_t>& data) {
        SoundEffect e;
        e.name = "e" + std::to_string(sound_effects.size());
        e.data = data;
        e.size = static_cast<std::int32_t>(data.size());
        sound_effects.push_back(e);
    }
    std::vector<std::uint8_t> render(std::int32_t samples) {
        std::vector<std::uint8_t> out(samples, 0xAA);
        render_timeline(out.data(), samples);
        return out;
    }
    std::vector<std::uint8_t> plain_render(std::int32_t samples) { return plain::render(voice_, timeline, samples); }
    static std::vector<std::uint8_t> constant(int count, std::uint8_t byte) {
        return std::vector<std::uint8_t>(count, byte);
    }
    // 6000 bytes of a wave whose pitch changes show in every output byte.
    static std::vector<std::uint8_t> periodic_wave() {
        std::vector<std::uint8_t> wave(6000);
        for (int i = 0; i < 6000; ++i) wave[i] = static_cast<std::uint8_t>(0x80 + (i * 13) % 100);
        return wave;
    }
    static std::uint8_t byte_of(double linear) { return encode_sample(static_cast<std::int32_t>(linear)); }
};

// --- anchors of the mix -------------------------------------------------------------

// The position advances before the read, and every byte comes out one code
// nearer to zero.
TEST_F(Renderer, LoneVowelReadsFromSampleOneOneCodeNearerZero) {
    slot(0, 0, {0x00, 0x81, 0x90, 0x10, 0xFE, 0x80, 0x80, 0x80});
    vowel(0, 1000, 0, 1);
    std::vector<std::uint8_t> expected(1000, 0xFF);  // the lead-in
    for (std::uint8_t byte : {0x82, 0x91, 0x11, 0xFF, 0x81}) expected.push_back(byte);
    EXPECT_EQ(render(1005), expected);
}

TEST_F(Renderer, EffectsMixUnscaledOnceAndClip) {
    slot(0, 0, constant(10, 0xFF));
    silence(0, 0);
    effect({0x90, 0x10, 0x80, 0x80, 0x00, 0x00});
    effect({0x80, 0x80, 0x80, 0x00, 0x00});
    control(0, 5, PlaySoundEffect, 0);
    control(1, 7, PlaySoundEffect, 1);
    const auto out = render(14);
    EXPECT_EQ(out[4], 0xFF);
    EXPECT_EQ(out[5], 0x91);   // 4062
    EXPECT_EQ(out[6], 0x11);   // -4062
    EXPECT_EQ(out[7], 0x80);   // 8158 + 8158 saturates
    EXPECT_EQ(out[8], 0x80);   // 8158 + 8158
    EXPECT_EQ(out[9], 0xFF);   // -8158 + 8158
    EXPECT_EQ(out[10], 0x00);  // -8158 - 8158 saturates
    EXPECT_EQ(out[11], 0x01);  // -8158 alone is one code nearer zero
    EXPECT_EQ(out[12], 0xFF);  // both finished: no loop
}

TEST_F(Renderer, OnsetFallsOverItsLoopChunkOffsetThenStops) {
    slot(0, 5, constant(50, 0x80), 4);
    onset(0, 0, 5);
    std::vector<std::uint8_t> expected = {byte_of(8158 * 0.75), byte_of(8158 * 0.5), byte_of(8158 * 0.25)};
    expected.resize(8, 0xFF);
    EXPECT_EQ(render(8), expected);
}

TEST_F(Renderer, OnsetStopsAtTheEndOfItsDataForGood) {
    slot(0, 5, {0x80, 0x90, 0x90}, 1000);
    onset(0, 0, 5);
    control(0, 10, LevelSet, 2.0);  // falling voices are not refreshed
    std::vector<std::uint8_t> expected = constant(20, 0xFF);
    expected[0] = 0x91;  // position 1
    EXPECT_EQ(render(20), expected);
}

TEST_F(Renderer, VowelWrapsToLoopChunkOffsetPlusOverrun) {
    // Positions 1, 2, then 3 passes size - 2 and wraps to 1 + 0.
    slot(0, 0, {0x80, 0x90, 0xA0, 0xB0}, 1);
    vowel(0, 0, 0, 1);
    EXPECT_EQ(render(7), (std::vector<std::uint8_t>{0x91, 0xA1, 0x91, 0xA1, 0x91, 0xA1, 0x91}));
}

TEST_F(Renderer, ZeroFadeInRampsByFixedStep) {
    slot(0, 0, constant(10000, 0x80));
    vowel(0, 0, 0, 0);
    const auto out = render(2000);
    double gain = 0.0;
    for (int o = 0; o < 2000; ++o) {
        gain += 0.0006;
        if (gain >= 1.0) gain = 1.0;
        ASSERT_EQ(out[o], byte_of(8158 * gain)) << o;
    }
    EXPECT_EQ(out[1999], 0x81);
}

TEST_F(Renderer, ReleaseHoldsFourHundredSamplesThenFades) {
    slot(0, 0, constant(10000, 0x80));
    vowel(0, 0, 0, 1);
    silence(0, 100);
    const auto out = render(2300);
    EXPECT_EQ(out[499], 0x81);  // still full during the countdown
    EXPECT_EQ(out[500], byte_of(8158 * (1.0 - 0.0006)));
    EXPECT_EQ(out[2165], 0xFE);  // gain 0.0004 after 1,666 steps of 0.0006
    EXPECT_EQ(out[2166], 0xFF);  // and below 0 after 1,667
}

TEST_F(Renderer, OnlyHoldingVoicesFollowControlEvents) {
    std::vector<std::uint8_t> wave(4000);
    for (int i = 0; i < 4000; ++i) wave[i] = static_cast<std::uint8_t>(0x80 + (i * 7) % 120);
    slot(0, 0, wave);
    vowel(0, 0, 0, 1000);  // ramping until sample 999
    const auto ramping = render(800);
    control(0, 300, PitchSet, 2.0);
    EXPECT_EQ(render(800), ramping);

    timeline.clear();
    vowel(0, 0, 0, 1);  // holding at once
    const auto holding = render(800);
    control(0, 300, PitchSet, 2.0);
    const auto changed = render(800);
    EXPECT_TRUE(std::equal(holding.begin(), holding.begin() + 300, changed.begin()));
    EXPECT_NE(holding, changed);
}

// At one sample the control event acts first: a new voice uses the new pitch,
// but the release of the older vowel sets its rate from the pitch before.
TEST_F(Renderer, ReleaseAtAControlEventUsesThePitchBeforeIt) {
    const std::vector<std::uint8_t> wave = periodic_wave();
    slot(0, 0, wave);
    vowel(0, 0, 0, 1);
    silence(0, 200);
    const auto released = render(1500);
    control(0, 200, PitchSet, 2.0);
    EXPECT_EQ(render(1500), released);

    timeline.clear();
    slot(0, 1, wave);
    vowel(0, 0, 0, 1);
    vowel(0, 200, 1, 1);
    control(0, 200, PitchSet, 2.0);
    const auto both = render(700);
    timeline.control_events[0].clear();
    settings.speaker_frequency[0] = 1.0;
    EXPECT_NE(render(700), both);  // the new vowel plays at pitch 2
}

// The pitch accent multiplies the author's pitch from its kana on, the
// released vowel included; the author's "PitchSet 1.0" returns to the
// accent's level, not to flat.
TEST_F(Renderer, AccentActsOnTopOfTheAuthorsPitch) {
    const std::vector<std::uint8_t> wave = periodic_wave();
    slot(0, 0, wave);
    slot(0, 1, wave);
    vowel(0, 0, 0, 1);
    vowel(0, 300, 1, 1);
    const auto flat = render(900);
    control(0, 300, AccentSet, 1.5);
    const auto accented = render(900);
    EXPECT_TRUE(std::equal(flat.begin(), flat.begin() + 300, accented.begin()));
    EXPECT_NE(accented, flat);
    control(0, 300, PitchMultiply, 2.0);
    control(0, 300, PitchSet, 1.0);
    EXPECT_EQ(render(900), accented);

    // Without the accent the released vowel keeps the pitch before the event.
    timeline.clear();
    vowel(0, 0, 0, 1);
    vowel(0, 300, 1, 1);
    control(0, 300, PitchSet, 1.5);
    EXPECT_NE(render(900), accented);
}

// The melody moves every sounding sample at once, a vowel still fading in
// and an onset too (the author's pitch waits until a vowel holds), on top of
// the author's pitch.
TEST_F(Renderer, MelodyGlidesEveryVowelOnTopOfTheAuthorsPitch) {
    const std::vector<std::uint8_t> wave = periodic_wave();
    slot(0, 0, wave);
    vowel(0, 0, 0, 2000);  // still fading in at 300
    const auto flat = render(900);
    control(0, 300, MelodySet, 1.5);
    const auto sung = render(900);
    EXPECT_TRUE(std::equal(flat.begin(), flat.begin() + 300, sung.begin()));
    EXPECT_NE(sung, flat);
    control(0, 300, PitchSet, 1.0);
    EXPECT_EQ(render(900), sung);
    timeline.clear();
    vowel(0, 0, 0, 2000);
    control(0, 300, PitchMultiply, 1.5);
    EXPECT_EQ(render(900), flat);
    timeline.clear();
    slot(0, 5, wave, 2000);  // an onset, still falling at 300
    onset(0, 0, 5);
    const auto onset_flat = render(900);
    control(0, 300, MelodySet, 1.5);
    EXPECT_NE(render(900), onset_flat);
}

TEST_F(Renderer, VowelStartedInTheSameSampleIsNotReleased) {
    slot(0, 5, constant(100, 0x90), 50);
    slot(0, 0, constant(100, 0x80));
    onset(0, 100, 5);
    vowel(0, 100, 0, 1);
    silence(0, 100);
    EXPECT_EQ(render(3000)[2999], 0x81);  // still holding

    timeline.clear();
    onset(0, 100, 5);
    vowel(0, 100, 0, 1);
    silence(0, 101);
    EXPECT_EQ(render(3000)[2999], 0xFF);  // released and faded
}

TEST_F(Renderer, EventsFireInListOrderEvenWhenEarlier) {
    slot(0, 0, constant(100, 0x80));
    slot(0, 1, constant(100, 0x90));
    vowel(0, 500, 0, 1);
    vowel(0, 200, 1, 1);  // fires only together with the event before it
    const auto out = render(600);
    for (int o = 0; o < 500; ++o) ASSERT_EQ(out[o], 0xFF) << o;
    EXPECT_EQ(out[500], 0x80);  // both: 8158 + 4062 clips
}

TEST_F(Renderer, EventsAtOrBeyondTheEndNeverFire) {
    slot(0, 0, constant(100, 0x80));
    vowel(0, 100, 0, 1);
    effect({0x80});
    control(1, 100, PlaySoundEffect, 0);
    EXPECT_EQ(render(100), constant(100, 0xFF));
}

TEST_F(Renderer, EmptyTimelineRendersSilence) {
    effect({0x80, 0x80});
    control(0, 0, PlaySoundEffect, 0);
    EXPECT_EQ(render(50), constant(50, 0xFF));
}

// --- reads and envelopes the description leaves open ------------------------------

TEST_F(Renderer, ReadsPastTheDataAreSilence) {
    slot(0, 0, {0x80}, 0);  // one sample: every read has a neighbour outside
    PhonemeSlot& s = phoneme_bank.slots[0][0];
    s.correct_frequency = 0.25;
    vowel(0, 0, 0, 1);
    const auto out = render(4);
    // 0.25 wraps to 0 at once: data[0] at weight 1, data[1] outside.
    EXPECT_EQ(out[0], 0x81);
    EXPECT_EQ(out, plain_render(4));
}

TEST_F(Renderer, ReleaseRatesAboveThreeStayInsideTheData) {
    std::vector<std::uint8_t> wave(64);
    for (int i = 0; i < 64; ++i) wave[i] = static_cast<std::uint8_t>(0x80 + i);
    slot(0, 0, wave, 60).correct_frequency = 40.0;  // release rate 40, unclamped
    slot(1, 0, wave, 62).correct_frequency = -3.0;  // release runs backwards
    vowel(0, 0, 0, 1);
    silence(0, 5);
    vowel(1, 0, 0, 1);
    silence(1, 5);
    EXPECT_EQ(render(3000), plain_render(3000));
}

TEST_F(Renderer, UnformableEnvelopesStartNothing) {
    slot(0, 5, constant(100, 0x80), 0);                        // fade over 0 samples
    slot(0, 6, constant(100, 0x80), -20);                      // would rise
    slot(0, 7, constant(100, 0x80), 50).correct_level = -1.0;  // would rise
    slot(0, 0, constant(100, 0x80));
    onset(0, 0, 5);
    onset(0, 1, 6);
    onset(0, 2, 7);
    vowel(0, 3, 0, -10);  // negative fade
    control(0, 20, LevelSet, 2.0);
    EXPECT_EQ(render(200), constant(200, 0xFF));
}

TEST_F(Renderer, SlotsOutsideTheRowStartNothingButRelease) {
    slot(0, 0, constant(4000, 0x80));
    vowel(0, 0, 0, 1);
    vowel(0, 10, 107, 1);
    vowel(0, 10, -7, 1);
    const auto out = render(3000);
    EXPECT_EQ(out[2999], 0xFF);
}

// --- against the plain renderer -----------------------------------------------

// A silent (level 0) vowel never moves, so it is never released; a later level
// change refreshes it back to life.
TEST_F(Renderer, DormantVowelsWakeAtALevelChange) {
    slot(0, 0, constant(3000, 0x90));
    slot(0, 1, constant(3000, 0xA0));
    control(0, 0, LevelSet, 0.0);
    vowel(0, 10, 0, 1);
    vowel(0, 20, 1, 0);
    control(0, 100, LevelSet, 0.5);
    silence(0, 300);
    const auto out = render(2000);
    EXPECT_NE(out[150], 0xFF);
    EXPECT_EQ(out, plain_render(2000));
}

// Deterministic pseudo-random numbers (no library generator: the sequence
// must not depend on the standard library).
struct Lcg {
    std::uint32_t state;
    std::uint32_t next() { return state = state * 1664525u + 1013904223u; }
    int below(int n) { return static_cast<int>((next() >> 8) % static_cast<std::uint32_t>(n)); }
    template <typename T, std::size_t N>
    T pick(const T (&options)[N]) {
        return options[below(static_cast<int>(N))];
    }
};

void random_voice_bank(Lcg& rng, LoadedVoice& voice) {
    Settings& settings = voice.settings;
    PhonemeBank& phoneme_bank = voice.bank;
    std::vector<SoundEffect>& sound_effects = voice.sound_effects;
    const double frequencies[] = {0.1, 0.5, 1.0, 1.0, 1.3, 2.9, 5.0, -1.0};
    const double levels[] = {0.0, 0.4, 1.0, 1.0, 1.5, 3.5};
    for (int s = 0; s < 2; ++s) {
        for (int n = 0; n < 12; ++n) {
            const int sizes[] = {0, 1, 2, 3, 17, 300, 2500};
            const int size = rng.pick(sizes);
            PhonemeSlot& slot = phoneme_bank.slots[s][n];
            slot.data.resize(size);
            for (auto& b : slot.data) b = static_cast<std::uint8_t>(rng.next() >> 24);
            slot.size = size;
            const int offsets[] = {0, 1, size / 2, size - 3, size - 1, -4, 800};
            slot.loop_chunk_offset = std::min(rng.pick(offsets), size > 0 ? size - 1 : 0);
            slot.correct_frequency = rng.pick(frequencies);
            slot.correct_level = rng.pick(levels);
        }
        phoneme_bank.consonant_frequency[s] = rng.pick(frequencies);
        phoneme_bank.consonant_level[s] = rng.pick(levels);
        settings.speaker_frequency[s] = rng.pick(frequencies);
    }
    for (int e = 0; e < 3; ++e) {
        SoundEffect effect;
        effect.data.resize(rng.below(3000));
        for (auto& b : effect.data) b = static_cast<std::uint8_t>(rng.next() >> 24);
        effect.size = static_cast<std::int32_t>(effect.data.size());
        sound_effects.push_back(effect);
    }
}

void random_timeline(Lcg& rng, Timeline& timeline, int samples) {
    const double values[] = {0.0, 0.3, 0.5, 1.0, 1.7, 2.0, 4.0, -1.0};
    for (int s = 0; s < 2; ++s) {
        int time = rng.below(1500);
        const int phonemes = rng.below(40);
        for (int i = 0; i < phonemes; ++i) {
            time += rng.below(3) == 0 ? -rng.below(800) : rng.below(2500);  // not always ascending
            const int slot = rng.below(8) == 0 ? -1 : rng.below(12);
            const int fades[] = {1, 0, 1, 40, 700, 3000, -5};
            timeline.phoneme_events[s].push_back(
                {time, slot, static_cast<std::uint8_t>(slot >= 0 && rng.below(2)), rng.pick(fades)});
        }
        time = 0;
        const int controls = rng.below(15);
        for (int i = 0; i < controls; ++i) {
            time += rng.below(samples / 8 + 1);
            int kind = rng.below(8);
            if (kind == AccentSet) kind = MelodySet + 1;  // still a kind the module does not know
            const double value = kind == PlaySoundEffect ? rng.below(6) - 1.5 : rng.pick(values);
            timeline.control_events[s].push_back({time, kind, value});
        }
    }
}

TEST_F(Renderer, MatchesThePlainRendererByteForByte) {
    Lcg rng{12345};
    for (int round = 0; round < 60; ++round) {
        reset();
        random_voice_bank(rng, voice_);
        const int lengths[] = {1, 999, 2048, 2049, 30000, 70000};
        const int samples = rng.pick(lengths);
        random_timeline(rng, timeline, samples);
        ASSERT_EQ(render(samples), plain_render(samples)) << "round " << round;
    }
}

}  // namespace
}  // namespace vokari
