// The request log's text-mode bytes (CR LF line ends, carriage returns of the
// texts removed, percent signs literal), a fresh file each load, and answers
// that do not depend on it.  The banner, the blocks and the end line are
// checked through the exports by host_check, on both builds.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "vokari.h"
#include "platform/platform.h"
#include "support/fixture_voice.h"
#include "support/host_calls.h"
#include "support/module_state.h"
#include "support/text_files.h"

namespace {

class RequestLog : public ::testing::Test, protected module_test::ModuleState {
protected:
    void SetUp() override {
        vokari::platform::set_player(vokari::platform::null_player());
        dir_ = fixture::temp_directory("log");
        log_file_ = dir_ + "/vokari.log";
    }
    void TearDown() override {
        vokari::platform::set_player(nullptr);
        fixture::remove_tree(dir_);
    }
    std::string log_bytes() const { return fixture::read_text(log_file_); }
    void use_log(const std::string& windows_path) { std::strcpy(settings.log_path, windows_path.c_str()); }
    // Loads a fixture voice whose settings add `lines`.
    void load_voice(const std::vector<std::string>& lines) {
        fixture::VoiceOptions options;
        options.settings_lines = lines;
        fixture::make_voice(dir_, options);
        host_calls::load_directory(dir_);
    }

    std::string dir_;
    std::string log_file_;
};

TEST_F(RequestLog, WriteDropsCarriageReturnsAndKeepsPercentSigns) {
    use_log(dir_ + "\\vokari.log");
    log_write("a\r\nb\r\r\nc %s %d %n %%\n");
    log_write("\r");
    log_write("\x82\xa0\r\n");
    EXPECT_EQ(log_bytes(), "a\r\nb\r\nc %s %d %n %%\r\n\x82\xa0\r\n");
}

TEST_F(RequestLog, NothingIsWrittenWhileLoggingIsOff) {
    EXPECT_FALSE(log_is_on());
    log_start();
    log_write("text\n");
    log_end();
    load_voice({});
    host_calls::request_text("X MAKOTO/2.0\r\nString:\r\n\r\n");
    unload();
    EXPECT_FALSE(std::filesystem::exists(log_file_));
}

TEST_F(RequestLog, EveryLoadStartsAFreshLog) {
    load_voice({"log, vokari.log"});
    host_calls::request_text("FIRST MAKOTO/2.0\r\n\r\n");
    unload();
    host_calls::load_directory(dir_);
    const std::string log = log_bytes();
    EXPECT_EQ(log.find("FIRST"), std::string::npos);
    EXPECT_EQ(log.find("// VOKARIng request log"), 0u);
    EXPECT_EQ(log.find("// VOKARIng request log", 1), std::string::npos);
    unload();
}

TEST_F(RequestLog, ResponseDoesNotDependOnTheLog) {
    const std::string request = "X MAKOTO/2.0\r\nString: \x82\xa0\x82\xa2\r\n\r\n";
    load_voice({});
    const std::string without_log = host_calls::request_text(request).bytes;
    unload();
    load_voice({"log, missing\\vokari.log"});
    const std::string broken_log = host_calls::request_text(request).bytes;
    unload();
    load_voice({"log, vokari.log"});
    const std::string with_log = host_calls::request_text(request).bytes;
    unload();
    EXPECT_EQ(broken_log, without_log);
    EXPECT_EQ(with_log, without_log);
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/missing"));
}

}  // namespace
