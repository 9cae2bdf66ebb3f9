// Response parsing and the command line (the requests' bytes are checked
// where the program sends them, in test_command_line.cpp).
#include <gtest/gtest.h>

#include "tools/vokari-say/options.h"
#include "tools/vokari-say/protocol.h"

using namespace vokari::say;

namespace {

TEST(Protocol, TakesTheScriptFromStringOrResult) {
    const Reply makoto = parse_response("MAKOTO/2.0 200 OK\r\nString: a\\_w[5]: b\r\nCharset: Shift_JIS\r\n\r\n");
    ASSERT_TRUE(makoto.ok) << makoto.error;
    EXPECT_EQ(makoto.script, "a\\_w[5]: b");
    const Reply saori = parse_response("SAORI/1.0 200 OK\r\nResult: \r\nCharset: Shift_JIS\r\n\r\n");
    ASSERT_TRUE(saori.ok) << saori.error;
    EXPECT_EQ(saori.script, "");
}

TEST(Protocol, RefusesErrorStatusEmptyResponseAndMissingScript) {
    const Reply error = parse_response("MAKOTO/2.0 500 Internal Server Error\r\nCharset: Shift_JIS\r\n\r\n");
    EXPECT_FALSE(error.ok);
    EXPECT_NE(error.error.find("500 Internal Server Error"), std::string::npos);
    EXPECT_FALSE(parse_response("").ok);
    EXPECT_FALSE(parse_response("SAORI/1.0 200 OK\r\nCharset: Shift_JIS\r\n\r\n").ok);
}

TEST(Options, ScriptWordsAndValuesInBothForms) {
    const ParsedOptions p =
        parse_options({"-m", "dir", "--output=a.wav", "こんにちは", "--saori", "--no-play", "-s", "30", "--", "-x"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.module_dir, "dir");
    EXPECT_EQ(p.options.output_wav, "a.wav");
    EXPECT_EQ(p.options.script, "こんにちは -x");
    EXPECT_TRUE(p.options.script_given);
    EXPECT_EQ(p.options.protocol, Protocol::Saori);
    EXPECT_FALSE(p.options.play);
    EXPECT_TRUE(p.options.wait);
    EXPECT_EQ(p.options.message_speed_ms, 30);
}

TEST(Options, ReportsBadUsage) {
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},
        {"-o"},
        {"--saori=1"},
        {"-s", "fast"},
        {"-s", "-5"},
        {"--file="},
        {"a", "-f", "x.txt"},
        {"--raw", "r", "--saori"},
        {"-f", "a", "-r", "b"},
        {"-s", "10001"},
        {"-s", "-1"},
        {"--encoding", "latin1"},
        {"-o", "a", "--svg", "a"},
        {"--pitch", "a"},
        {"--timing", "a"},
        {"--reading", "--pitch", "--timing", "a"},
    };
    for (const auto& arguments : bad) {
        const ParsedOptions p = parse_options(arguments);
        EXPECT_FALSE(p.ok) << arguments[0];
        EXPECT_FALSE(p.error.empty());
    }
    EXPECT_TRUE(parse_options({"--reading", "--pitch", "a"}).ok);  // --pitch needs only --reading
    EXPECT_TRUE(parse_options({"--reading", "--timing", "a"}).ok);
    for (const char* limit : {"0", "10000"}) EXPECT_TRUE(parse_options({"-s", limit}).ok) << limit;
    EXPECT_EQ(parse_options({"-e", "sjis"}).options.encoding, ScriptEncoding::ShiftJis);
}

// What the user is told when a response cannot be used.
TEST(Protocol, ARefusedResponseSaysWhy) {
    EXPECT_EQ(parse_response("").error, "the module gave an empty response");
    EXPECT_EQ(parse_response("SAORI/1.0 200 OK\r\nCharset: Shift_JIS\r\n\r\n").error,
              "the module's response holds no script (no String or Result header)");
}

}  // namespace
