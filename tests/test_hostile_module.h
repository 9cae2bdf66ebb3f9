// The module as the hostile-input tests meet it: the fixture voice in a fresh
// module directory, loaded into a module object with the request log on, a
// player that records instead of playing, and the helpers that take a
// response apart.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/fixture_voice.h"
#include "support/log_lines.h"
#include "support/module_state.h"
#include "support/recording_player.h"
#include "support/text_files.h"

namespace hostile {

const std::string kSuffix = "\r\nCharset: Shift_JIS\r\n\r\n";
const std::string kMakotoPrefix = "MAKOTO/2.0 200 OK\r\nString: ";

using log_lines::kFileOutputError;
using log_lines::kSizeLimitedWarning;

class HostileModule : public ::testing::Test, protected module_test::ModuleState {
protected:
    void SetUp() override {
        dir_ = fixture::temp_directory("hostile");
        ASSERT_FALSE(dir_.empty());
        player_.watch(&image);
    }

    void TearDown() override {
        vokari::unload_module(module_);
        fixture::remove_tree(dir_);
    }

    // Writes the fixture voice (request log "hostile.log", plus `settings`
    // lines in "vokari.txt") into the module directory.
    void write_voice(const std::vector<std::string>& settings = {}, fixture::VoiceOptions options = {}) {
        options.settings_lines.push_back("log, hostile.log");
        options.settings_lines.insert(options.settings_lines.end(), settings.begin(), settings.end());
        fixture::make_voice(dir_, options);
    }
    void load_dir() { load_from(dir_); }
    // Loads the module object from `directory` as the host names it.
    void load_from(const std::string& directory) {
        vokari::load_module(module_, directory.c_str(), static_cast<long>(directory.size()));
    }
    // The complete response to the request `text`.
    std::string respond(const std::string& text) {
        std::string response;
        handle_request(text.c_str(), response);
        return response;
    }
    void load_voice(const std::vector<std::string>& settings = {}) {
        write_voice(settings);
        load_dir();
    }

    // The MAKOTO/2.0 response to `script`, checked for its frame; returns the
    // script that came back.
    std::string speak(const std::string& script) {
        const std::string text = respond("NOTIFY MAKOTO/2.0\r\nString: " + script + "\r\n\r\n");
        if (text.size() < kMakotoPrefix.size() + kSuffix.size() ||
            text.compare(0, kMakotoPrefix.size(), kMakotoPrefix) != 0 ||
            text.compare(text.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0) {
            ADD_FAILURE() << "malformed response of " << text.size() << " bytes";
            return std::string();
        }
        return text.substr(kMakotoPrefix.size(), text.size() - kMakotoPrefix.size() - kSuffix.size());
    }

    // The log as written so far, with single line feeds.
    std::string log_text() const { return fixture::read_text_without_cr(native("hostile.log")); }
    // Number of times `line` was logged.
    std::size_t times_logged(const std::string& line) const {
        const std::string log = log_text();
        std::size_t count = 0;
        for (std::size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + line.size())) ++count;
        return count;
    }

    // Native path of `relative` (slash separated) inside the module directory.
    std::string native(const std::string& relative) const { return dir_ + "/" + relative; }

    // The images the module handed to the player, in order.
    std::vector<std::vector<std::uint8_t>> played() const {
        std::vector<std::vector<std::uint8_t>> images;
        for (const recording::PlayerCall& call : player_.calls())
            if (call.kind == recording::PlayerCall::Play) images.push_back(call.bytes);
        return images;
    }
    // The one image played since the last clear().
    std::vector<std::uint8_t> played_image() const {
        const auto images = played();
        EXPECT_EQ(images.size(), 1u);
        return images.empty() ? std::vector<std::uint8_t>() : images[0];
    }

    std::string dir_;
    recording::RecordingPlayer player_;
};

// Length of the wait tag "\_w[N]" (N decimal, maybe negative) at `at` of
// `text`, or 0 when none starts there.
inline std::size_t wait_tag_length(const std::string& text, std::size_t at) {
    if (text.compare(at, 4, "\\_w[") != 0) return 0;
    std::size_t i = at + 4;
    if (i < text.size() && text[i] == '-') ++i;
    const std::size_t digits = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i > digits && i < text.size() && text[i] == ']' ? i + 1 - at : 0;
}

// `reply` without the wait tags that insert_waits added (for scripts that
// hold no wait tag of their own), and how many there were.
struct SplitReply {
    std::string text;
    std::size_t waits = 0;
};
inline SplitReply split_waits(const std::string& reply) {
    SplitReply split;
    for (std::size_t at = 0; at < reply.size();) {
        const std::size_t length = wait_tag_length(reply, at);
        if (length > 0) {
            ++split.waits;
            at += length;
        } else {
            split.text += reply[at++];
        }
    }
    return split;
}

}  // namespace hostile
