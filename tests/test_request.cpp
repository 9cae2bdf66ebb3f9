// Request handling: protocol detection from the first line, header parsing,
// the security gate, the version query and the composition of the response.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/module_state.h"

namespace {

const std::string kSuffix = "\r\nCharset: Shift_JIS\r\n\r\n";
const std::string kMakoto = "MAKOTO/2.0 200 OK\r\nString: ";
const std::string kSaori = "SAORI/1.0 200 OK\r\nResult: ";

class RequestHandling : public ::testing::Test, protected module_test::ModuleState {
protected:
    // Scripts may start playback: play nothing.
    void SetUp() override {
        vokari::platform::set_player(vokari::platform::null_player());
        load_defaults();
    }
    void TearDown() override { vokari::platform::set_player(nullptr); }

    std::string respond(const std::string& request) {
        std::vector<char> copy(request.begin(), request.end());
        copy.push_back('\0');
        std::string response = "stale";
        handle_request(copy.data(), response);
        return response;
    }
    // The response of a request the gate refuses: the script header's value
    // comes back exactly as parsed.
    std::string echo(const std::string& first_line, const std::string& headers) {
        settings.security_high = 1;
        return respond(first_line + "\r\nSecurityLevel: External\r\n" + headers + "\r\n");
    }
};

// The last word of the first line selects the protocol; only the exact
// "GET Version SAORI/1.0" is the version query, answered with forty bytes.
TEST_F(RequestHandling, FirstLineSelectsTheProtocolAndTheVersionQuery) {
    const std::string version = "SAORI/1.0 200 OK" + kSuffix;
    ASSERT_EQ(version.size(), 40u);
    const struct {
        const char* request;
        std::string response;
    } cases[] = {
        {"EXECUTE SAORI/1.0\r\nArgument0:\r\n\r\n", kSaori + kSuffix},
        {"NOTIFY MAKOTO/2.0\r\nString:\r\n\r\n", kMakoto + kSuffix},
        {"X SAORI\r\n\r\n", kSaori + kSuffix},
        {"X SAOR\r\n\r\n", kMakoto + kSuffix},
        {"X OTHER/3.0\r\n\r\n", kMakoto + kSuffix},
        {"SAORI/1.0\r\n\r\n", kMakoto + kSuffix},               // no space: the line is the command
        {" SAORI/1.0\r\n\r\n", kSaori + kSuffix},               // a space first: an empty command
        {"GET Version SAORI/1.0 \r\n\r\n", kMakoto + kSuffix},  // a trailing space: empty last word
        {"GET Version SAORI/1.0\r\nCharset: Shift_JIS\r\n\r\n", version},
        {"GET Version SAORI/1.0\n\n", version},
        {"GET Version MAKOTO/2.0\r\n\r\n", kMakoto + kSuffix},
        {"GET  Version SAORI/1.0\r\n\r\n", kSaori + kSuffix},
        {"get version SAORI/1.0\r\n\r\n", kSaori + kSuffix},
        {"GET Version SAORI/1.0", kMakoto + kSuffix},  // no line feed: no first line at all
    };
    for (const auto& c : cases) EXPECT_EQ(respond(c.request), c.response) << c.request;
}

// Names and values are trimmed (full-width blanks too) and may be empty;
// a lookup takes the exact name and its first entry.
TEST_F(RequestHandling, HeadersAreTrimmedAndFoundByExactNameFirstEntry) {
    respond(
        "X MAKOTO/2.0\r\n \tString\x81\x40 : \x81\x40 a: b \t\r\nEmpty:\r\n:bare\r\nstring: lower\r\n"
        "String: second\r\n\r\n");
    EXPECT_EQ(get_header("String"), "a: b");
    EXPECT_EQ(get_header("string"), "lower");
    EXPECT_EQ(get_header("Strin"), "");
    EXPECT_EQ(get_header("Missing"), "");
    EXPECT_EQ(request_.headers[1].name, "Empty");
    EXPECT_EQ(request_.headers[1].value, "");
    EXPECT_EQ(request_.headers[2].name, "");
    EXPECT_EQ(request_.headers[2].value, "bare");
}

TEST_F(RequestHandling, HeaderBlockEndsAtBlankLineColonlessLineOrEighthHeader) {
    std::string nine = "X MAKOTO/2.0\r\n";
    for (int i = 0; i < 8; ++i) nine += "H" + std::to_string(i) + ": " + std::to_string(i) + "\r\n";
    nine += "String: ninth\r\n\r\n";
    respond(nine);
    EXPECT_EQ(request_.headers[7].name, "H7");
    EXPECT_EQ(get_header("String"), "");

    respond("X MAKOTO/2.0\r\nA: 1\r\n\r\nString: after blank\r\n");
    EXPECT_EQ(get_header("A"), "1");
    EXPECT_EQ(get_header("String"), "");

    respond("X MAKOTO/2.0\r\nA: 1\r\nno colon\r\nString: after\r\n\r\n");
    EXPECT_EQ(get_header("String"), "");

    respond("X MAKOTO/2.0\r\nA: 1\r\nString: no line feed");
    EXPECT_EQ(get_header("A"), "1");
    EXPECT_EQ(get_header("String"), "");
}

TEST_F(RequestHandling, HeaderLineLosesUpToTwoCarriageReturns) {
    respond("X MAKOTO/2.0\r\nA: 1\r\r\nB: 2\r\r\r\nC: 3\n\n");
    EXPECT_EQ(get_header("A"), "1");
    EXPECT_EQ(get_header("B"), "2\r");
    EXPECT_EQ(get_header("C"), "3");
}

// Headers, the pitch step and hidden text of one request do not reach the next.
TEST_F(RequestHandling, EveryRequestStartsFromEmptyState) {
    const std::string next = "X MAKOTO/2.0\r\nString: \x82\xa0@<\r\n\r\n";
    const std::string fresh = respond(next);
    ASSERT_EQ(request_.timeline.control_events[0].size(), 1u);
    const double fresh_pitch = request_.timeline.control_events[0][0].value;
    respond("X MAKOTO/2.0\r\nOld: 1\r\nString: @u[9]@o\x82\xa0\r\n\r\n");
    EXPECT_EQ(respond(next), fresh);
    EXPECT_EQ(get_header("Old"), "");
    ASSERT_EQ(request_.timeline.control_events[0].size(), 1u);
    EXPECT_EQ(request_.timeline.control_events[0][0].value, fresh_pitch);
}

TEST_F(RequestHandling, GateLetsOnlyLocalRequestsThroughWhenSecurityIsHigh) {
    const std::string version = "GET Version SAORI/1.0\r\n";
    const std::string answered = "SAORI/1.0 200 OK" + kSuffix;
    EXPECT_EQ(respond(version + "SecurityLevel: External\r\n\r\n"), answered);
    settings.security_high = 1;
    EXPECT_EQ(respond(version + "\r\n"), answered);
    EXPECT_EQ(respond(version + "SecurityLevel: Local\r\n\r\n"), answered);
    EXPECT_EQ(respond(version + "SecurityLevel:  local \t\r\n\r\n"), answered);
    EXPECT_EQ(respond(version + "SecurityLevel: local\r\nSecurityLevel: External\r\n\r\n"), answered);
    for (const char* level : {"LOCAL", "", "External", "Localhost"}) {
        EXPECT_EQ(respond(version + "Argument0: x\r\nSecurityLevel: " + level + "\r\n\r\n"), kSaori + "x" + kSuffix)
            << level;
    }
    EXPECT_EQ(respond(version + "SecurityLevel: External\r\n\r\n"), kSaori + kSuffix);
}

TEST_F(RequestHandling, RefusedScriptComesBackUntouchedButTrimmed) {
    EXPECT_EQ(echo("X MAKOTO/2.0", "String: \x81\x40 \\0@v[50]\x82\xa0\\e \t\r\n"),
              kMakoto + "\\0@v[50]\x82\xa0\\e" + kSuffix);
    EXPECT_EQ(echo("EXECUTE SAORI/1.0", "String: not this\r\nArgument0: @p[2]abc\r\n"), kSaori + "@p[2]abc" + kSuffix);
}

}  // namespace
