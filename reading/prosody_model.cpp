// The trained voice's prosody model: the file checked, the HTS engine's model
// set loaded, and per line the state durations and the log-F0 stream
// generated below the engine's public interface, so that the spectrum is
// neither looked up nor generated.
#include "reading/prosody_model.h"

#include <cmath>
#include <cstdio>
#include <exception>

#include "base/sha256.h"
#include "platform/platform.h"

extern "C" {
#include "HTS_hidden.h"
}

namespace vokari {

namespace {

// What the engine reports as an error: raised by its error function (the
// build routes it to vokari_hts_error) instead of ending the process.
struct EngineError : std::exception {
    const char* what() const noexcept override { return "prosody engine error"; }
};

constexpr double kVoicedThreshold = 0.5;  // the engine's own default for the voiced weight
constexpr double kGvWeight = 1.0;
constexpr std::size_t kReadChunk = 1 << 16;

bool is_devoiced_vowel(const std::string& phoneme) {
    return phoneme == "A" || phoneme == "I" || phoneme == "U" || phoneme == "E" || phoneme == "O";
}

double clamp(double value, double low, double high) { return value < low ? low : value > high ? high : value; }

std::string check_voice_file(const std::string& path) {
    platform::ScopedFile file(platform::open_file(path.c_str(), "rb"));
    if (!file) return "missing";
    std::vector<unsigned char> chunk(kReadChunk);
    Sha256 sum;
    long seen = 0;
    for (;;) {
        const std::size_t got = std::fread(chunk.data(), 1, kReadChunk, file.get());
        if (got == 0) break;
        seen += static_cast<long>(got);
        if (seen > kTrainedVoiceBytes)
            return "longer than the trained voice (" + std::to_string(kTrainedVoiceBytes) + " bytes)";
        sum.update(chunk.data(), got);
    }
    if (seen != kTrainedVoiceBytes)
        return "size " + std::to_string(seen) + " instead of " + std::to_string(kTrainedVoiceBytes);
    if (sum.hex_digest() != kTrainedVoiceSha256) return "not the trained voice (SHA-256 differs)";
    return std::string();
}

// HTS's own rounding of state durations at the model's speed: each state
// its mean, at least one frame.
void default_durations(const std::vector<double>& mean, std::vector<std::size_t>& duration) {
    for (std::size_t i = 0; i < mean.size(); ++i) {
        const double frames = mean[i] + 0.5;
        duration[i] = frames < 1.0 ? 1 : static_cast<std::size_t>(frames);
    }
}

// HTS's durations for a given total: every state moved by the same multiple
// of its variance, then single frames added or taken where that multiple
// is met best.
void durations_for_total(const std::vector<double>& mean, const std::vector<double>& vari, double total,
                         std::vector<std::size_t>& duration) {
    const std::size_t size = mean.size();
    const std::size_t target = total + 0.5 < 1.0 ? 1 : static_cast<std::size_t>(total + 0.5);
    if (target <= size) {
        for (std::size_t& d : duration) d = 1;
        return;
    }
    double mean_sum = 0.0, vari_sum = 0.0;
    for (std::size_t i = 0; i < size; ++i) {
        mean_sum += mean[i];
        vari_sum += vari[i];
    }
    const double rho = (static_cast<double>(target) - mean_sum) / vari_sum;
    std::size_t sum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const double frames = mean[i] + rho * vari[i] + 0.5;
        duration[i] = frames < 1.0 ? 1 : static_cast<std::size_t>(frames);
        sum += duration[i];
    }
    while (sum != target) {
        const bool grow = target > sum;
        std::size_t best = size;
        double best_gap = 0.0;
        for (std::size_t i = 0; i < size; ++i) {
            if (!grow && duration[i] <= 1) continue;
            const double moved = static_cast<double>(duration[i]) + (grow ? 1.0 : -1.0);
            const double gap = std::fabs(rho - (moved - mean[i]) / vari[i]);
            if (best == size || gap < best_gap) {
                best = i;
                best_gap = gap;
            }
        }
        if (best == size) break;
        duration[best] = grow ? duration[best] + 1 : duration[best] - 1;
        sum = grow ? sum + 1 : sum - 1;
    }
}

// The generated log-F0 stream's memory, freed once generation has finished.
// A generation that failed half-way is left as it is: the engine's clearing
// cannot tell its half-made windows from whole ones.
struct GeneratedStream {
    HTS_PStreamSet set;
    bool complete = false;
    GeneratedStream() { HTS_PStreamSet_initialize(&set); }
    ~GeneratedStream() {
        if (complete) HTS_PStreamSet_clear(&set);
    }
    GeneratedStream(const GeneratedStream&) = delete;
    GeneratedStream& operator=(const GeneratedStream&) = delete;
};

}  // namespace

}  // namespace vokari

// The engine's error function, rerouted here by the build: warnings are
// dropped, an error (a failed allocation, a broken model) unwinds into the
// module instead of ending the host.
extern "C" void vokari_hts_error(int error) {
    if (error > 0) throw vokari::EngineError();
}

namespace vokari {

struct ProsodyModel::Engine {
    HTS_ModelSet models;
    std::size_t states = 0;
    std::size_t streams = 0;
    std::size_t lf0_stream = 0;
    int frame_ms = 0;

    Engine() { HTS_ModelSet_initialize(&models); }
    ~Engine() { HTS_ModelSet_clear(&models); }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // "" when the loaded model has what the plan needs.
    std::string inspect() {
        if (HTS_ModelSet_get_nvoices(&models) != 1) return "not one voice";
        states = HTS_ModelSet_get_nstate(&models);
        streams = HTS_ModelSet_get_nstream(&models);
        const std::size_t rate = HTS_ModelSet_get_sampling_frequency(&models);
        const std::size_t period = HTS_ModelSet_get_fperiod(&models);
        if (states == 0 || rate == 0 || period * 1000 % rate != 0) return "no whole-millisecond frame";
        frame_ms = static_cast<int>(period * 1000 / rate);
        for (lf0_stream = 0; lf0_stream < streams; ++lf0_stream)
            if (HTS_ModelSet_is_msd(&models, lf0_stream) && HTS_ModelSet_get_vector_length(&models, lf0_stream) == 1)
                return std::string();
        return "no log-F0 stream";
    }
};

ProsodyModel::ProsodyModel() = default;
ProsodyModel::~ProsodyModel() = default;

std::string ProsodyModel::open(const std::string& path) {
    close();
    const std::string problem = check_voice_file(path);
    if (!problem.empty()) return problem;
    std::unique_ptr<Engine> engine(new Engine);
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    char* names[] = {name.data()};
    try {
        if (!HTS_ModelSet_load(&engine->models, names, 1)) return "the engine cannot load it";
    } catch (const EngineError&) {
        return "the engine cannot load it";
    }
    const std::string unusable = engine->inspect();
    if (!unusable.empty()) return unusable;
    engine_ = std::move(engine);
    return std::string();
}

void ProsodyModel::close() { engine_.reset(); }

bool ProsodyModel::is_open() const { return engine_ != nullptr; }

ProsodyPlan ProsodyModel::plan(const std::vector<ReadWord>& words, double tempo, double range) const {
    if (!engine_) return ProsodyPlan();
    return plan(make_prosody_labels(words), tempo, range);
}

ProsodyPlan ProsodyModel::plan(const ProsodyLabels& labels, double tempo, double range) const {
    ProsodyPlan plan;
    const std::size_t count = labels.labels.size();
    if (!engine_ || count == 0 || count > kProsodyLabelLimit) return plan;
    Engine& e = *engine_;
    HTS_ModelSet* models = &e.models;
    const std::size_t states = e.states, total_states = count * states, lf0 = e.lf0_stream;
    tempo = clamp(tempo, kSlowestProsodyTempo, kFastestProsodyTempo);
    range = clamp(range, 0.0, kWidestProsodyRange);

    try {
        // State durations.
        const double one_voice = 1.0;
        std::vector<double> duration_mean(total_states), duration_vari(total_states);
        for (std::size_t i = 0; i < count; ++i)
            HTS_ModelSet_get_duration(models, labels.labels[i].c_str(), &one_voice, &duration_mean[i * states],
                                      &duration_vari[i * states]);
        std::vector<std::size_t> duration(total_states);
        if (tempo == 1.0) {
            default_durations(duration_mean, duration);
        } else {
            double mean_sum = 0.0;
            for (const double mean : duration_mean) mean_sum += mean;
            durations_for_total(duration_mean, duration_vari, mean_sum / tempo, duration);
        }
        std::size_t total_frames = 0;
        for (const std::size_t d : duration) total_frames += d;

        // The log-F0 stream's distributions, state by state, as one stream
        // of the engine's state-stream set.
        const std::size_t windows = HTS_ModelSet_get_window_size(models, lf0);
        std::vector<double> stream_weights(e.streams, 1.0);
        const double* const parameter_weights[] = {stream_weights.data()};
        std::vector<double> means(total_states * windows), varis(total_states * windows), voiced(total_states);
        std::vector<double*> mean_rows(total_states), vari_rows(total_states);
        for (std::size_t i = 0, state = 0; i < count; ++i) {
            for (std::size_t j = 2; j <= states + 1; ++j, ++state) {
                mean_rows[state] = &means[state * windows];
                vari_rows[state] = &varis[state * windows];
                HTS_ModelSet_get_parameter(models, lf0, j, labels.labels[i].c_str(), parameter_weights,
                                           mean_rows[state], vari_rows[state], &voiced[state]);
            }
        }
        std::vector<int> left(windows), right(windows);
        std::vector<double> coefficients;
        std::vector<std::size_t> centre(windows);
        for (std::size_t k = 0; k < windows; ++k) {
            left[k] = HTS_ModelSet_get_window_left_width(models, lf0, k);
            right[k] = HTS_ModelSet_get_window_right_width(models, lf0, k);
            centre[k] = coefficients.size() - static_cast<std::size_t>(left[k]);
            for (int shift = left[k]; shift <= right[k]; ++shift)
                coefficients.push_back(HTS_ModelSet_get_window_coefficient(models, lf0, k, shift));
        }
        std::vector<double*> window_rows(windows);
        for (std::size_t k = 0; k < windows; ++k) window_rows[k] = coefficients.data() + centre[k];
        double gv_mean = 0.0, gv_vari = 0.0;
        std::vector<HTS_Boolean> gv_switch;
        const bool use_gv = HTS_ModelSet_use_gv(models, lf0);
        if (use_gv) {
            HTS_ModelSet_get_gv(models, lf0, labels.labels[0].c_str(), parameter_weights, &gv_mean, &gv_vari);
            gv_switch.assign(total_states, TRUE);
            for (std::size_t i = 0; i < count; ++i)
                if (!HTS_ModelSet_get_gv_flag(models, labels.labels[i].c_str()))
                    for (std::size_t j = 0; j < states; ++j) gv_switch[i * states + j] = FALSE;
        }
        HTS_SStream stream{};
        stream.vector_length = 1;
        stream.mean = mean_rows.data();
        stream.vari = vari_rows.data();
        stream.msd = voiced.data();
        stream.win_size = windows;
        stream.win_l_width = left.data();
        stream.win_r_width = right.data();
        stream.win_coefficient = window_rows.data();
        stream.win_max_width = HTS_ModelSet_get_window_max_width(models, lf0);
        stream.gv_mean = use_gv ? &gv_mean : nullptr;
        stream.gv_vari = use_gv ? &gv_vari : nullptr;
        stream.gv_switch = use_gv ? gv_switch.data() : nullptr;
        HTS_SStreamSet state_streams{};
        state_streams.sstream = &stream;
        state_streams.nstream = 1;
        state_streams.nstate = states;
        state_streams.duration = duration.data();
        state_streams.total_state = total_states;
        state_streams.total_frame = total_frames;
        double threshold = kVoicedThreshold, gv_weight = kGvWeight;
        GeneratedStream generated;
        const bool created = HTS_PStreamSet_create(&generated.set, &state_streams, &threshold, &gv_weight);
        generated.complete = true;
        if (!created) return plan;

        // The contour, around the line's mean by the range factor.
        const HTS_PStream& lf0_out = generated.set.pstream[0];
        plan.log_f0.assign(total_frames, 0.0);
        double voiced_sum = 0.0;
        std::size_t voiced_frames = 0;
        for (std::size_t frame = 0; frame < total_frames; ++frame) {
            if (!lf0_out.msd_flag[frame]) continue;
            plan.log_f0[frame] = lf0_out.par[voiced_frames][0];
            voiced_sum += plan.log_f0[frame];
            ++voiced_frames;
        }
        const double line_mean = voiced_frames > 0 ? voiced_sum / static_cast<double>(voiced_frames) : 0.0;
        for (double& value : plan.log_f0)
            if (value != 0.0)
                value = clamp(line_mean + range * (value - line_mean), kLowestProsodyLogF0, kHighestProsodyLogF0);

        // Phonemes and morae.
        const int frame_ms = e.frame_ms;
        plan.frame_ms = frame_ms;
        plan.morae.resize(labels.morae.size());
        std::size_t frame = 0;
        for (std::size_t i = 0; i < count; ++i) {
            std::size_t frames = 0;
            for (std::size_t j = 0; j < states; ++j) frames += duration[i * states + j];
            ProsodyPhoneme phoneme;
            phoneme.name = labels.phonemes[i];
            phoneme.start_ms = static_cast<int>(frame) * frame_ms;
            phoneme.length_ms = static_cast<int>(frames) * frame_ms;
            phoneme.devoiced = is_devoiced_vowel(phoneme.name);
            phoneme.mora = labels.mora_of_phoneme[i];
            if (phoneme.mora >= 0) {
                ProsodyMora& mora = plan.morae[static_cast<std::size_t>(phoneme.mora)];
                if (mora.kana.empty()) {
                    mora.kana = labels.morae[static_cast<std::size_t>(phoneme.mora)];
                    const std::size_t m = static_cast<std::size_t>(phoneme.mora);
                    mora.word = m < labels.word_of_mora.size() ? labels.word_of_mora[m] : -1;
                    mora.start_ms = phoneme.start_ms;
                }
                mora.length_ms += phoneme.length_ms;
                mora.vowel_start_ms = phoneme.start_ms;
                mora.devoiced = phoneme.devoiced;
            }
            plan.phonemes.push_back(std::move(phoneme));
            frame += frames;
        }
        for (ProsodyMora& mora : plan.morae) {
            const std::size_t first = static_cast<std::size_t>(mora.start_ms / frame_ms);
            const std::size_t end = first + static_cast<std::size_t>(mora.length_ms / frame_ms);
            double sum = 0.0;
            std::size_t voiced_in_mora = 0;
            for (std::size_t f = first; f < end && f < total_frames; ++f) {
                if (plan.log_f0[f] == 0.0) continue;
                sum += plan.log_f0[f];
                ++voiced_in_mora;
            }
            mora.log_f0 = voiced_in_mora > 0 ? sum / static_cast<double>(voiced_in_mora) : 0.0;
        }
    } catch (const EngineError&) {
        return ProsodyPlan();
    }
    return plan;
}

}  // namespace vokari
