// SVG drawing of a waveform with the text's display moments under it.
#include "tools/vokari-say/utterance_svg.h"

#include <algorithm>
#include <cstdio>

namespace vokari {
namespace say {
namespace {

// Geometry of the picture, in pixels.
constexpr int kPlotLeft = 60;
constexpr int kPlotWidth = 1000;
constexpr int kWidth = kPlotLeft + kPlotWidth + 30;
constexpr int kWaveTop = 40;
constexpr int kWaveHeight = 160;
constexpr int kAxisY = kWaveTop + kWaveHeight + 10;
constexpr int kLabelTop = kAxisY + 40;
constexpr int kLabelRows = 3;  // labels alternate between rows so they overlap less
constexpr int kLabelRowHeight = 22;
constexpr int kHeight = kLabelTop + kLabelRows * kLabelRowHeight + 40;
constexpr double kFullScale = 8158.0;

const char* speaker_colour(int speaker) { return speaker == 0 ? "#1f5fbf" : "#c0392b"; }

std::string xml_escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string format(const char* pattern, double a, double b = 0, double c = 0, double d = 0) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern, a, b, c, d);
    return buffer;
}

// Tick spacing in ms that gives at most about a dozen ticks over `span_ms`.
int tick_step_ms(int span_ms) {
    for (int step : {50, 100, 200, 500, 1000, 2000, 5000, 10000})
        if (span_ms / step <= 12) return step;
    return 20000;
}

class Drawing {
public:
    Drawing(int span_ms) : span_ms_(std::max(span_ms, 1)) {}

    double x_of(double ms) const { return kPlotLeft + ms * kPlotWidth / span_ms_; }

    void waveform(const MuLawWav& wav) {
        const double middle = kWaveTop + kWaveHeight / 2.0;
        svg_ += format("<line x1='%.1f' y1='%.1f' x2='%.1f' y2='%.1f' stroke='#ccc'/>\n", kPlotLeft, middle,
                       kPlotLeft + kPlotWidth, middle);
        if (wav.samples.empty()) return;
        svg_ += "<path stroke='#333' stroke-width='1' fill='none' d='";
        const double samples_per_ms = wav.sample_rate / 1000.0;
        for (int column = 0; column < kPlotWidth; ++column) {
            const size_t from =
                static_cast<size_t>(column * static_cast<double>(span_ms_) / kPlotWidth * samples_per_ms);
            const size_t to =
                static_cast<size_t>((column + 1) * static_cast<double>(span_ms_) / kPlotWidth * samples_per_ms);
            if (from >= wav.samples.size()) break;
            int low = 0, high = 0;
            for (size_t i = from; i < std::min(std::max(to, from + 1), wav.samples.size()); ++i) {
                low = std::min(low, wav.samples[i]);
                high = std::max(high, wav.samples[i]);
            }
            const double half = kWaveHeight / 2.0;
            svg_ += format("M%.1f %.1fV%.1f", kPlotLeft + column + 0.5, middle - high / kFullScale * half,
                           middle - low / kFullScale * half + 0.5);
        }
        svg_ += "'/>\n";
    }

    void time_axis() {
        svg_ += format("<line x1='%.1f' y1='%.1f' x2='%.1f' y2='%.1f' stroke='#000'/>\n", kPlotLeft, kAxisY,
                       kPlotLeft + kPlotWidth, kAxisY);
        const int step = tick_step_ms(span_ms_);
        for (int ms = 0; ms <= span_ms_; ms += step) {
            svg_ += format("<line x1='%.1f' y1='%.1f' x2='%.1f' y2='%.1f' stroke='#000'/>", x_of(ms), kAxisY, x_of(ms),
                           kAxisY + 5);
            svg_ += format("<text x='%.1f' y='%.1f' text-anchor='middle' font-size='11'>%.0f</text>\n", x_of(ms),
                           kAxisY + 17, ms);
        }
        svg_ += format("<text x='%.1f' y='%.1f' font-size='11'>ms</text>\n", kPlotLeft + kPlotWidth + 4, kAxisY + 17);
    }

    void characters(const DisplayTimeline& timeline) {
        int index = 0;
        for (const DisplayEvent& event : timeline.events) {
            if (event.kind != DisplayKind::Character) continue;
            const double x = x_of(event.time_ms);
            const double label_y = kLabelTop + (index % kLabelRows) * kLabelRowHeight;
            svg_ += format("<line x1='%.1f' y1='%.1f' x2='%.1f' y2='%.1f' stroke-opacity='0.35' ", x, kWaveTop, x,
                           label_y - 14);
            svg_ += std::string("stroke='") + speaker_colour(event.speaker) + "'/>";
            svg_ += format("<text x='%.1f' y='%.1f' text-anchor='middle' font-size='15' ", x, label_y);
            svg_ += std::string("fill='") + speaker_colour(event.speaker) + "'>" + xml_escaped(event.character) +
                    "</text>\n";
            ++index;
        }
    }

    void end_marker(int ms, const char* label, double label_y) {
        svg_ += format("<line x1='%.1f' y1='%.1f' x2='%.1f' y2='%.1f' stroke='#777' stroke-dasharray='4 3'/>", x_of(ms),
                       kWaveTop, x_of(ms), kAxisY);
        svg_ += format("<text x='%.1f' y='%.1f' text-anchor='end' font-size='11' fill='#555'>", x_of(ms) - 3, label_y);
        svg_ += std::string(label) + "</text>\n";
    }

    std::string document(const std::string& title) const {
        std::string head =
            format("<svg xmlns='http://www.w3.org/2000/svg' width='%.0f' height='%.0f' ", kWidth, kHeight);
        head += format("viewBox='0 0 %.0f %.0f' font-family='sans-serif'>\n", kWidth, kHeight);
        head += "<rect width='100%' height='100%' fill='#fff'/>\n";
        head += format("<text x='%.0f' y='24' font-size='15'>", kPlotLeft) + xml_escaped(title) + "</text>\n";
        const double legend_y = kHeight - 12;
        std::string legend = format("<text x='%.0f' y='%.0f' font-size='12'>", kPlotLeft, legend_y);
        legend += std::string("<tspan fill='") + speaker_colour(0) + "'>main character</tspan>  <tspan fill='" +
                  speaker_colour(1) +
                  "'>partner</tspan>  (each mark: the moment the host shows that character)</text>\n";
        return head + svg_ + legend + "</svg>\n";
    }

private:
    int span_ms_;
    std::string svg_;
};

}  // namespace

std::string draw_utterance_svg(const MuLawWav& wav, const DisplayTimeline& timeline, const std::string& title) {
    const int sound_ms = duration_ms(wav);
    Drawing drawing(std::max(sound_ms, timeline.end_ms));
    drawing.waveform(wav);
    drawing.time_axis();
    drawing.characters(timeline);
    drawing.end_marker(timeline.end_ms, "text done", kWaveTop + 12);
    drawing.end_marker(sound_ms, "sound ends", kWaveTop + 26);
    return drawing.document(title);
}

}  // namespace say
}  // namespace vokari
