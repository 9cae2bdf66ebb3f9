// The platform layer on Linux: text and binary streams that behave like the
// Windows C runtime, path mapping, file copy and delete, global blocks, the
// calendar clock.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "base/wav_format.h"
#include "platform/platform.h"
#include "support/fixture_voice.h"
#include "support/text_files.h"

namespace {

using vokari::platform::open_file;

class PlatformFiles : public ::testing::Test {
protected:
    void SetUp() override { dir_ = fixture::temp_directory("platform"); }
    void TearDown() override { fixture::remove_tree(dir_); }

    std::string path(const char* name) const { return dir_ + "/" + name; }
    void put(const char* name, const std::string& bytes) {
        ASSERT_TRUE(fixture::write_file(path(name), std::vector<std::uint8_t>(bytes.begin(), bytes.end())));
    }
    std::string get(const char* name) const { return fixture::read_text(path(name)); }
    // Everything a stream opened with `mode` reads from `name`.
    std::string read_all(const char* name, const char* mode) const {
        std::FILE* file = open_file(path(name).c_str(), mode);
        EXPECT_NE(file, nullptr);
        if (file == nullptr) return {};
        std::string text;
        for (int c; (c = std::fgetc(file)) != EOF;) text.push_back(static_cast<char>(c));
        std::fclose(file);
        return text;
    }
    void write_with(const char* name, const char* mode, const std::string& text) {
        std::FILE* file = open_file(path(name).c_str(), mode);
        ASSERT_NE(file, nullptr);
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }

    std::string dir_;
};

TEST_F(PlatformFiles, TextReadTurnsCrLfIntoLfAndKeepsLoneCr) {
    put("a.txt", "one\r\ntwo\r\r\nthree\rfour\r");
    EXPECT_EQ(read_all("a.txt", "rt"), "one\ntwo\r\nthree\rfour\r");
    EXPECT_EQ(read_all("a.txt", "r"), "one\ntwo\r\nthree\rfour\r");
    EXPECT_EQ(read_all("a.txt", "rb"), "one\r\ntwo\r\r\nthree\rfour\r");
}

TEST_F(PlatformFiles, TextReadStopsAtByte1A) {
    put("a.txt", std::string("kept\r\n\x1A"
                             "dropped\r\n",
                             16));
    EXPECT_EQ(read_all("a.txt", "rt"), "kept\n");
    EXPECT_EQ(read_all("a.txt", "rb").size(), 16u);
    put("b.txt", "cr\r\x1Arest");
    EXPECT_EQ(read_all("b.txt", "rt"), "cr\r");
}

TEST_F(PlatformFiles, TextReadJoinsCrLfAcrossBufferBoundaries) {
    // CR LF pairs at every offset around the stream's buffer sizes.
    std::string raw;
    std::string expected;
    for (int i = 0; raw.size() < 70000; ++i) {
        const std::string word(static_cast<std::size_t>(i % 13), 'x');
        raw += word + "\r\n";
        expected += word + "\n";
    }
    put("big.txt", raw);
    EXPECT_EQ(read_all("big.txt", "rt"), expected);
}

TEST_F(PlatformFiles, TextWriteTurnsLfIntoCrLf) {
    write_with("w.txt", "wt", "a\nb\r\nc");
    EXPECT_EQ(get("w.txt"), "a\r\nb\r\r\nc");
    write_with("w.txt", "a+", "d\n");
    EXPECT_EQ(get("w.txt"), "a\r\nb\r\r\ncd\r\n");
    write_with("w.txt", "wt", "");
    EXPECT_EQ(get("w.txt"), "");
    write_with("b.bin", "wb", "a\nb");
    EXPECT_EQ(get("b.bin"), "a\nb");
}

TEST_F(PlatformFiles, AppendingInTextModeDropsAFinalByte1A) {
    // Only a final one, and only when the file is also opened for reading.
    const struct {
        const char *before, *mode, *written, *after;
    } cases[] = {
        {"a\x1A", "a+", "y\n", "ay\r\n"},
        {"a\x1Az", "a+", "y", "a\x1Azy"},
        {"a\x1A", "at", "y", "a\x1Ay"},
        {"a\x1A", "ab+", "y", "a\x1Ay"},
    };
    for (const auto& c : cases) {
        put("z.txt", c.before);
        write_with("z.txt", c.mode, c.written);
        EXPECT_EQ(get("z.txt"), c.after) << c.mode << " after " << c.before;
    }
    // Looking for the byte leaves the stream where it was: at the start.
    put("v.txt", "one\r\ntwo\x1A");
    EXPECT_EQ(read_all("v.txt", "r+"), "one\ntwo");
    EXPECT_EQ(get("v.txt"), "one\r\ntwo");
}

TEST_F(PlatformFiles, LargeTextWriteKeepsEveryByte) {
    std::string text;
    for (int i = 0; i < 30000; ++i) text += (i % 7 == 0) ? '\n' : static_cast<char>('a' + i % 26);
    write_with("big.txt", "wt", text);
    std::string expected;
    for (char c : text) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(get("big.txt"), expected);
    EXPECT_EQ(read_all("big.txt", "rt"), text);
}

// A pipe whose reader lags takes a large write in parts, each cut short by a
// signal: every part must go on where the one before stopped.
TEST_F(PlatformFiles, TextWriteToALaggingPipeGoesOnWhereEachPartStopped) {
    const std::string fifo = path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string text;
    for (int i = 0; i < 600000; ++i) text += static_cast<char>('a' + i % 23);
    struct sigaction interrupting {};
    interrupting.sa_handler = [](int) {};
    sigemptyset(&interrupting.sa_mask);  // no SA_RESTART: a blocked write returns what it took
    struct sigaction saved {};
    ASSERT_EQ(::sigaction(SIGALRM, &interrupting, &saved), 0);
    sigset_t alarm_only;
    sigemptyset(&alarm_only);
    sigaddset(&alarm_only, SIGALRM);
    ::pthread_sigmask(SIG_BLOCK, &alarm_only, nullptr);  // the reader inherits the block
    std::string received;
    std::thread reader([&] {
        const int fd = ::open(fifo.c_str(), O_RDONLY);
        char part[4096];
        for (ssize_t got; (got = ::read(fd, part, sizeof part)) > 0;) {
            received.append(part, static_cast<std::size_t>(got));
            ::usleep(100);
        }
        ::close(fd);
    });
    std::FILE* file = open_file(fifo.c_str(), "wt");
    ::pthread_sigmask(SIG_UNBLOCK, &alarm_only, nullptr);
    const itimerval often = {{0, 300}, {0, 300}};
    ::setitimer(ITIMER_REAL, &often, nullptr);
    const std::size_t written = file == nullptr ? 0 : std::fwrite(text.data(), 1, text.size(), file);
    if (file != nullptr) std::fclose(file);
    else ::close(::open(fifo.c_str(), O_WRONLY));  // lets the reader's open return
    const itimerval stopped = {};
    ::setitimer(ITIMER_REAL, &stopped, nullptr);
    ::sigaction(SIGALRM, &saved, nullptr);
    reader.join();
    EXPECT_EQ(written, text.size());
    EXPECT_TRUE(received == text) << "received " << received.size() << " of " << text.size() << " bytes";
}

TEST_F(PlatformFiles, BackslashPathsOpenButDirectoriesAndMissingFilesDoNot) {
    put("sub.txt", "x");
    std::FILE* file = open_file((dir_ + "\\sub.txt").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    for (const char* mode : {"rt", "rb", "wt", "wb", "a+"}) EXPECT_EQ(open_file(dir_.c_str(), mode), nullptr) << mode;
    EXPECT_EQ(open_file(path("missing.txt").c_str(), "rt"), nullptr);
    EXPECT_EQ(open_file(path("no-dir/new.txt").c_str(), "wt"), nullptr);
    EXPECT_EQ(open_file(path("x.txt").c_str(), "q"), nullptr);
    // A mode with a letter past the first that is not +, b or t: refused before the file is truncated.
    put("kept.txt", "kept");
    EXPECT_EQ(open_file(path("kept.txt").c_str(), "wx"), nullptr);
    EXPECT_EQ(get("kept.txt"), "kept");
}

TEST_F(PlatformFiles, SeekAndTellUseRawOffsetsInTextMode) {
    put("s.txt", "ab\r\ncd");
    std::FILE* file = open_file(path("s.txt").c_str(), "rt");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fseek(file, 0, SEEK_END), 0);
    EXPECT_EQ(std::ftell(file), 6);
    ASSERT_EQ(std::fseek(file, 0, SEEK_SET), 0);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) text.push_back(static_cast<char>(c));
    EXPECT_EQ(text, "ab\ncd");
    std::fclose(file);
}

TEST_F(PlatformFiles, CopyReplacesTheTargetAndDeleteRemovesFilesOnly) {
    using vokari::platform::copy_file;
    using vokari::platform::delete_file;
    put("from.bin", std::string("\r\n\x1A\0z", 5));
    put("to.bin", "old longer content");
    EXPECT_TRUE(copy_file(path("from.bin").c_str(), path("to.bin").c_str()));
    EXPECT_EQ(get("to.bin"), std::string("\r\n\x1A\0z", 5));
    EXPECT_FALSE(copy_file(path("missing").c_str(), path("to2.bin").c_str()));
    EXPECT_FALSE(copy_file(dir_.c_str(), path("to3.bin").c_str()));

    EXPECT_TRUE(delete_file(path("to.bin").c_str()));
    EXPECT_EQ(open_file(path("to.bin").c_str(), "rb"), nullptr);
    EXPECT_FALSE(delete_file(path("to.bin").c_str()));
    ASSERT_TRUE(fixture::make_directory(path("subdir")));
    EXPECT_FALSE(delete_file(path("subdir").c_str()));
}

// 0x95 0x5C is one kanji: the backslash after it is a separator.  A lead
// byte at the very end stands alone.  A path that does not fit leaves the
// output empty.
TEST(NativePath, MapsSeparatorsButNotShiftJisTrailBytesWithinItsRoom) {
    const struct {
        const char* path;
        std::size_t room;
        const char* expected;
    } cases[] = {{"a\\b\\c.txt", 64, "a/b/c.txt"},
                 {"x\\\x95\x5C\\y", 64, "x/\x95\x5C/y"},
                 {"\\\x95", 64, "/\x95"},
                 {"abc", 4, "abc"},
                 {"abcd", 4, ""}};
    for (const auto& c : cases) {
        std::vector<char> out(c.room);
        vokari::platform::native_path(c.path, out.data(), out.size());
        EXPECT_STREQ(out.data(), c.expected) << c.path;
    }
}

// The log's date and time are the calendar's now, as strftime gives it (read
// before and after, in case a second ends in between).
TEST(Clocks, LocalDateAndTimeAreNow) {
    const auto calendar = [](std::time_t at) {
        std::tm local{};
        localtime_r(&at, &local);
        char text[32];
        std::strftime(text, sizeof text, "%m/%d/%y %H:%M:%S", &local);
        return std::string(text);
    };
    const std::time_t before = std::time(nullptr);
    char date[9], time[9];
    vokari::platform::local_date_time(date, time);
    const std::string given = std::string(date) + " " + time;
    const std::time_t after = std::time(nullptr);
    EXPECT_TRUE(given == calendar(before) || given == calendar(after)) << given << " / " << calendar(after);
}

}  // namespace
