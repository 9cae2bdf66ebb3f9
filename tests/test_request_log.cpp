// The request log: its banner, the request and response blocks with the
// execution time, the end line, and its text-mode bytes (CR LF line ends,
// carriage returns of the texts removed, percent signs literal).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "vokari.h"
#include "platform/platform.h"
#include "support/fixture_voice.h"
#include "support/host_calls.h"
#include "support/module_state.h"
#include "support/text_files.h"

namespace {

bool file_exists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file != nullptr) std::fclose(file);
    return file != nullptr;
}

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
    std::string log_bytes() const {
        return fixture::read_text(log_file_);
    }
    void use_log(const std::string& windows_path) {
        std::strcpy(settings.log_path, windows_path.c_str());
    }
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

TEST_F(RequestLog, StartEmptiesTheFileAndWritesTheBanner) {
    ASSERT_TRUE(fixture::write_text(log_file_, "old life\r\n"));
    use_log(dir_ + "\\vokari.log");
    log_start();
    EXPECT_EQ(fixture::normalised_log(log_bytes()), "// VOKARIng request log\r\n// start : MM/DD/YY HH:MM:SS\r\n\r\n");
}

TEST_F(RequestLog, WriteDropsCarriageReturnsAndKeepsPercentSigns) {
    use_log(dir_ + "\\vokari.log");
    log_write("a\r\nb\r\r\nc %s %d %n %%\n");
    log_write("\r");
    log_write("\x82\xa0\r\n");
    EXPECT_EQ(log_bytes(), "a\r\nb\r\nc %s %d %n %%\r\n\x82\xa0\r\n");
}

TEST_F(RequestLog, EndAppendsTheUnloadLines) {
    use_log(dir_ + "\\vokari.log");
    log_write("x\n");
    log_end();
    EXPECT_EQ(fixture::normalised_log(log_bytes()), "x\r\n// unload\r\n// end : MM/DD/YY HH:MM:SS\r\n\r\n");
}

TEST_F(RequestLog, NothingIsWrittenWhileLoggingIsOff) {
    EXPECT_FALSE(log_is_on());
    log_start();
    log_write("text\n");
    log_end();
    load_voice({});
    host_calls::request_text("X MAKOTO/2.0\r\nString:\r\n\r\n");
    unload();
    EXPECT_FALSE(file_exists(log_file_));
}

TEST_F(RequestLog, MissingDirectoryDropsTheWritesSilently) {
    use_log(dir_ + "\\missing\\vokari.log");
    log_start();
    log_write("text\n");
    EXPECT_FALSE(file_exists(dir_ + "/missing/vokari.log"));
    EXPECT_FALSE(file_exists(dir_ + "/missing"));
}

TEST_F(RequestLog, RequestAndResponseBlocksFollowEachOther) {
    load_voice({"log, vokari.log"});
    const std::size_t loaded = log_bytes().size();
    ASSERT_GT(loaded, 0u);
    const std::string request = "EXECUTE SAORI/1.0\r\nArgument0:\r\nNote: 100%s\r\n\r\n";
    const host_calls::Response response = host_calls::request_text(request);
    EXPECT_EQ(fixture::normalised_log(log_bytes().substr(loaded)),
              "// request header\r\n" + request +
                  "// response header\r\n// [execute time = Nms]\r\n"
                  "SAORI/1.0 200 OK\r\nResult: \r\nCharset: Shift_JIS\r\n\r\n");
    EXPECT_NE(log_bytes().find("// [execute time = "), std::string::npos);
    unload();
    const std::string log = fixture::normalised_log(log_bytes());
    const std::string banner = "// VOKARIng request log\r\n// start : MM/DD/YY HH:MM:SS\r\n\r\n";
    const std::string end = "// unload\r\n// end : MM/DD/YY HH:MM:SS\r\n\r\n";
    const std::string loading = "// Now loading translate data.\r\nDone.\r\n\r\n";
    EXPECT_EQ(log.substr(0, banner.size() + loading.size()), banner + loading);
    ASSERT_GE(log.size(), end.size());
    EXPECT_EQ(log.substr(log.size() - end.size()), end);
    EXPECT_EQ(log.find("\r\r"), std::string::npos);
    EXPECT_EQ(std::regex_search(log, std::regex("[^\r]\n")), false);
    EXPECT_EQ(response.bytes, "SAORI/1.0 200 OK\r\nResult: \r\nCharset: Shift_JIS\r\n\r\n");
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
    EXPECT_FALSE(file_exists(dir_ + "/missing"));
}

}  // namespace
