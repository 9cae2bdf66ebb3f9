// Memory running out inside the module must never reach the host as an
// exception: the host's process would end.  This test binary's operator new
// can be armed to fail after a number of allocations; every entry point is
// then driven through each failure point in turn.
#include <gtest/gtest.h>

#include <filesystem>

#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

#include "vokari.h"
#include "base/module_paths.h"
#include "platform/platform.h"
#include "support/fixture_voice.h"
#include "support/host_calls.h"
#include "voice_data/sample_file.h"

namespace {

// Allocations left before operator new throws; negative: never throws.
long allocations_before_failure = -1;
// Blocks of this size or larger are refused.
std::size_t largest_failing_block = SIZE_MAX;

}  // namespace

void* operator new(std::size_t bytes) {
    if (allocations_before_failure == 0 || bytes >= largest_failing_block) throw std::bad_alloc();
    if (allocations_before_failure > 0) --allocations_before_failure;
    if (void* p = std::malloc(bytes ? bytes : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
// The library's temporary buffers (std::stable_sort) ask without throwing and
// give back with plain delete: both forms must come from the same heap.
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    try {
        return operator new(bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

const std::string kSuffix = "\r\nCharset: Shift_JIS\r\n\r\n";
const std::string kServerError = "MAKOTO/2.0 500 Internal Server Error" + kSuffix;
// "\0こんにちは@<\1ね" as a MAKOTO request: translation, both speakers, a
// control tag, waits and a render all allocate.
const std::string kRequest =
    "EXECUTE MAKOTO/2.0\r\nString: \\0\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd@<\\1\x82\xcb\r\n\r\n";

// request() with `text`, operator new armed to fail after `allocations`
// allocations for the call alone.  Returns the response bytes.
std::string request_failing_after(const std::string& text, long allocations, bool* failed) {
    HGLOBAL block = host_calls::make_block(text);
    long length = static_cast<long>(text.size());
    allocations_before_failure = allocations;
    HGLOBAL answer = request(block, &length);
    *failed = allocations_before_failure == 0;
    allocations_before_failure = -1;
    std::string bytes(static_cast<const char*>(answer), static_cast<std::size_t>(length));
    vokari::platform::global_free(answer);
    return bytes;
}

BOOL load_failing_after(const std::string& directory, long allocations) {
    HGLOBAL block = host_calls::make_block(directory);
    allocations_before_failure = allocations;
    const BOOL loaded = load(block, static_cast<long>(directory.size()));
    allocations_before_failure = -1;
    return loaded;
}

// File descriptors this process has open.
std::size_t open_file_count() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

class OutOfMemory : public ::testing::Test {
protected:
    void SetUp() override {
        vokari::platform::set_player(vokari::platform::null_player());
        dir_ = fixture::temp_directory("oom");
        fixture::make_voice(dir_, {{"log, vokari.log"}});
    }
    void TearDown() override {
        allocations_before_failure = -1;
        unload();
        vokari::platform::set_player(nullptr);
        fixture::remove_tree(dir_);
    }
    std::string dir_;
};

TEST_F(OutOfMemory, EveryFailurePointOfARequestGivesTheServerErrorOrAFullAnswer) {
    host_calls::load_directory(dir_);
    allocations_before_failure = -1;
    const std::string healthy = host_calls::request_text(kRequest).bytes;
    ASSERT_EQ(healthy.compare(0, 17, "MAKOTO/2.0 200 OK"), 0);

    int failures_seen = 0;
    for (long n = 0; n < 400; ++n) {
        bool failed_here = false;
        const std::string bytes = request_failing_after(kRequest, n, &failed_here);
        // A failure the module could absorb (a log line it had to drop) may
        // still give the full answer; anything else is the server error.
        if (failed_here && bytes == kServerError) ++failures_seen;
        else EXPECT_EQ(bytes, healthy) << "allocation " << n;
    }
    EXPECT_GT(failures_seen, 10);
    // And the module is still whole afterwards.
    EXPECT_EQ(host_calls::request_text(kRequest).bytes, healthy);
}

TEST_F(OutOfMemory, LoadAndUnloadSwallowEveryFailurePoint) {
    const std::size_t open_files = open_file_count();
    for (long n = 0; n < 300; n += 7) {
        EXPECT_EQ(load_failing_after(dir_, n), 1) << n;
        allocations_before_failure = n;
        EXPECT_EQ(unload(), 1) << n;
        allocations_before_failure = -1;
    }
    // No file that was open when memory ran out stays open.
    EXPECT_EQ(open_file_count(), open_files);
    // A clean load afterwards speaks as usual.
    host_calls::load_directory(dir_);
    EXPECT_EQ(host_calls::request_text(kRequest).bytes.compare(0, 17, "MAKOTO/2.0 200 OK"), 0);
}

// A sample file whose buffer cannot be had counts as not read.
TEST(OutOfMemoryReadingSamples, ASampleWithoutItsBufferIsNotRead) {
    const std::string dir = fixture::temp_directory("oom-sample");
    const std::string path = dir + "/0.wav";
    ASSERT_TRUE(fixture::write_text(path, std::string(100000, 'x')));
    std::vector<std::uint8_t> data;
    largest_failing_block = 90000;
    const bool read = vokari::read_sample_file(path.c_str(), 100000, 58, data);
    largest_failing_block = SIZE_MAX;
    EXPECT_FALSE(read);
    EXPECT_TRUE(data.empty());
    fixture::remove_tree(dir);
}

}  // namespace
