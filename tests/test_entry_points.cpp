// The three exports and the module object behind them: how loading stores the
// module directory, how request carries a request in and the response out
// (including the 500 path and hostile input), what unload stops, and that two
// module objects keep apart.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "vokari.h"
#include "platform/platform.h"
#include "support/global_alloc_failure.h"
#include "support/fixture_voice.h"
#include "support/host_calls.h"
#include "support/module_state.h"

namespace {

using host_calls::request_text;

const std::string kSuffix = "\r\nCharset: Shift_JIS\r\n\r\n";
const std::string kServerError = "MAKOTO/2.0 500 Internal Server Error" + kSuffix;

// Counts the stops of playback.
int purges = 0;
void count_purge() { ++purges; }
void play_nothing(const std::uint8_t*, std::size_t) {}
const vokari::platform::Player kCountingPlayer = {"counting", play_nothing, count_purge};

class EntryPoints : public ::testing::Test, protected module_test::ModuleState {
protected:
    void SetUp() override {
        vokari::platform::set_player(&kCountingPlayer);
        purges = 0;
    }
    void TearDown() override {
        unload();
        vokari::platform::fail_global_alloc(0);
        vokari::platform::set_player(nullptr);
    }
    // Loads this test's module object from a directory block of `length` bytes.
    void load_with_length(const std::string& block, long length) { vokari::load_module(module_, block.data(), length); }
    std::string stored_dir() const { return module_dir; }
};

// The directory kept from a load block of `length` bytes: one trailing
// backslash that is the last counted byte goes, a NUL ends the text, a 5C
// trail byte is no separator, and more than 1024 bytes are refused.  Only a
// refused directory skips the loading sequence: no directory at all is the
// empty one, and the sequence runs on it as on any other (its last step
// scales the host's message speed, 50 ms by default, to 66).
TEST_F(EntryPoints, LoadKeepsTheDirectoryTextOfTheCountedBytes) {
    const std::string longest(1024, 'd');
    const struct {
        std::string block;
        long length;
        std::string stored;
    } cases[] = {
        {"C:\\ghost\\", 9, "C:\\ghost"},
        {"C:\\ghost\\\\", 10, "C:\\ghost\\"},
        {std::string("C:\\ghost\\\0", 10), 10, "C:\\ghost\\"},  // the last counted byte is the NUL
        {"C:\\ghost\\xyz", 9, "C:\\ghost"},                     // fewer bytes counted than held
        {std::string("C:\\dir\0garbage\\", 15), 15, "C:\\dir"},
        {"", 0, ""},
        {"abc", -5, ""},
        {"C:\\\x95\x5c", 5, "C:\\\x95\x5c"},  // "表" is 95 5C
        {"C:\\\x95\x5c\\", 6, "C:\\\x95\x5c"},
        {longest, 1024, longest},
        {longest + "\\", 1025, longest},
        {"short" + std::string(2000, '\0'), 2000, "short"},  // a long block whose text ends early
    };
    for (const auto& c : cases) {
        load_with_length(c.block, c.length);
        EXPECT_EQ(stored_dir(), c.stored) << c.block.substr(0, 20) << " / " << c.length;
        EXPECT_EQ(settings.message_speed, 66) << c.block.substr(0, 20) << " / " << c.length;
    }
    vokari::load_module(module_, nullptr, 0);
    EXPECT_EQ(settings.message_speed, 66);
    load_with_length(longest + "d", 1025);
    EXPECT_EQ(stored_dir(), "");
    EXPECT_EQ(settings.message_speed, 50);
    // The refused module still answers on its defaults.
    EXPECT_EQ(settings.talk_default_speed, 130);
    std::string response;
    handle_request("GET Version SAORI/1.0\r\n\r\n", response);
    EXPECT_EQ(response, "SAORI/1.0 200 OK" + kSuffix);
}

// The directory block is the module's once load has it: freed there, also
// when the directory is refused.
TEST_F(EntryPoints, LoadFreesTheHostsBlock) {
    for (const std::string& dir : {std::string("C:\\ghost\\"), std::string(2000, 'd')}) {
        const int before = vokari::platform::live_global_blocks();
        load(host_calls::make_block(dir), static_cast<long>(dir.size()));
        unload();
        EXPECT_EQ(vokari::platform::live_global_blocks(), before) << dir.size();
    }
}

TEST_F(EntryPoints, ModulePathsThatDoNotFitAreRefused) {
    char path[vokari::kPathCapacity];
    std::strcpy(module_dir, std::string(1000, 'd').c_str());
    EXPECT_TRUE(format_module_path(path, std::string(26, 'n').c_str()));
    EXPECT_EQ(std::strlen(path), 1027u);
    EXPECT_EQ(path[1000], '\\');
    EXPECT_FALSE(format_module_path(path, std::string(27, 'n').c_str()));
    EXPECT_STREQ(path, "");
    module_dir[0] = '\0';
    EXPECT_TRUE(format_module_path(path, "vokari.txt"));
    EXPECT_STREQ(path, "\\vokari.txt");
}

TEST_F(EntryPoints, RequestThatCannotBeCopiedGetsThe500ResponseWhateverItsProtocol) {
    host_calls::load_with_length("", 0);
    for (const char* text : {"X MAKOTO/2.0\r\nString: a\r\n\r\n", "EXECUTE SAORI/1.0\r\nArgument0: a\r\n\r\n"}) {
        vokari::platform::fail_global_alloc(2);  // 1: the request block, 2: the copy
        const host_calls::Response response = request_text(text);
        EXPECT_EQ(response.length, 60);
        EXPECT_EQ(response.bytes, kServerError);
    }
    EXPECT_EQ(host_calls::request_with_length("X MAKOTO/2.0\r\n\r\n", -1).bytes, kServerError);
}

TEST_F(EntryPoints, ResponseThatCannotBeAllocatedGivesANullBlockAndLengthZero) {
    host_calls::load_with_length("", 0);
    vokari::platform::fail_global_alloc(3);  // block, copy, response
    const host_calls::Response response = request_text("GET Version SAORI/1.0\r\n\r\n");
    EXPECT_FALSE(response.has_block);
    EXPECT_EQ(response.length, 0);
    // Without a length pointer there is nowhere to put the length.
    EXPECT_EQ(request(host_calls::make_block("x"), nullptr), nullptr);
}

TEST_F(EntryPoints, AnyBytesGetAWellFormedResponse) {
    host_calls::load_with_length("", 0);
    const std::string makoto = "MAKOTO/2.0 200 OK\r\nString: ";
    EXPECT_EQ(request_text("").bytes, makoto + kSuffix);
    EXPECT_EQ(request_text("no line feed at all").bytes, makoto + kSuffix);
    // Bytes after a NUL are not part of the request.
    EXPECT_EQ(request_text(std::string("EXECUTE SAORI/1.0\r\n\0Argument0: x\r\n\r\n", 36)).bytes,
              "SAORI/1.0 200 OK\r\nResult: " + kSuffix);
    std::string many_headers = "X MAKOTO/2.0\r\n";
    for (int i = 0; i < 10000; ++i)
        many_headers += "Header" + std::to_string(i) + ": " + std::string(1600, 'v') + "\r\n";
    EXPECT_EQ(request_text(many_headers + "\r\n").bytes, makoto + kSuffix);
    const std::string big(16 * 1024 * 1024, '\x81');
    EXPECT_EQ(request_text(big).bytes, makoto + kSuffix);
    for (const std::string& script : {std::string("\x82\r\n"), std::string("\xff\xfe\x80\xa0\x82"),
                                      std::string("\x82\\0\x81"), std::string(1 << 20, '\x82')}) {
        const std::string response = request_text("X MAKOTO/2.0\r\nString: " + script + "\r\n\r\n").bytes;
        ASSERT_GE(response.size(), makoto.size() + kSuffix.size());
        EXPECT_EQ(response.substr(0, makoto.size()), makoto);
        EXPECT_EQ(response.substr(response.size() - kSuffix.size()), kSuffix);
    }
}

TEST_F(EntryPoints, UnloadStopsPlaybackAndTheModuleCanBeLoadedAgain) {
    const std::string dir = fixture::temp_directory("entry");
    fixture::VoiceOptions logged;
    logged.settings_lines = {"log, vokari.log"};
    fixture::make_voice(dir, logged);
    const std::string speak = "X MAKOTO/2.0\r\nString: \x82\xa9\x82\xa0@a[chime]\r\n\r\n";
    const int blocks_before = vokari::platform::live_global_blocks();
    host_calls::load_directory(dir);
    const std::string first = request_text(speak).bytes;
    request_text(speak);  // the second image replaces the first
    purges = 0;
    EXPECT_EQ(unload(), 1);
    EXPECT_GE(purges, 1);
    EXPECT_EQ(vokari::platform::live_global_blocks(), blocks_before);  // the speech's image is given back
    const std::vector<std::uint8_t> log = fixture::read_file(dir + "/vokari.log");
    EXPECT_NE(std::string(log.begin(), log.end()).find("// unload\r\n// end : "), std::string::npos);
    // A second loaded life answers as the first did: nothing doubled, nothing lost.
    host_calls::load_directory(dir);
    EXPECT_EQ(request_text(speak).bytes, first);
    fixture::remove_tree(dir);
}

// Two module objects in one process, loaded from different folders and used
// in turn, answer exactly as each does alone.
TEST(ModuleObjects, TwoModulesDoNotAffectEachOther) {
    const std::string slow_dir = fixture::temp_directory("slow");
    const std::string fast_dir = fixture::temp_directory("fast");
    fixture::make_voice(slow_dir);
    fixture::make_voice(fast_dir);
    ASSERT_TRUE(fixture::write_text(fast_dir + "/vokari.txt", "talk.default.speed, 60\ntag.prefix, %\n"));
    const std::string script = "X MAKOTO/2.0\r\nString: \x82\xa9\x82\xa0@o%o@u[9]@wavout[a.wav]\r\n\r\n";
    auto answer = [&script](vokari::Module& module) {
        std::string response;
        vokari::handle_request(module, script.c_str(), response);
        return response;
    };
    auto alone = [&answer](const std::string& dir) {
        vokari::Module module;
        vokari::load_module(module, dir.c_str(), static_cast<long>(dir.size()));
        return answer(module);
    };
    const std::string slow_alone = alone(slow_dir);
    const std::string fast_alone = alone(fast_dir);
    EXPECT_NE(slow_alone, fast_alone);

    vokari::Module slow;
    vokari::Module fast;
    vokari::load_module(slow, slow_dir.c_str(), static_cast<long>(slow_dir.size()));
    vokari::load_module(fast, fast_dir.c_str(), static_cast<long>(fast_dir.size()));
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(answer(slow), slow_alone);
        EXPECT_EQ(answer(fast), fast_alone);
    }
    vokari::unload_module(slow);
    EXPECT_EQ(answer(fast), fast_alone);
    vokari::unload_module(fast);
    fixture::remove_tree(slow_dir);
    fixture::remove_tree(fast_dir);
}

}  // namespace
