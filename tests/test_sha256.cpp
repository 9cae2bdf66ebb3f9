// SHA-256 against the standard's digests, at the lengths where its padding
// changes (55 bytes fit one block, 56 need a second), and fed in pieces.
#include <gtest/gtest.h>

#include <string>

#include "base/sha256.h"

namespace {

std::string digest_of(const std::string& bytes, std::size_t piece) {
    vokari::Sha256 sum;
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        sum.update(reinterpret_cast<const unsigned char*>(bytes.data()) + at,
                   bytes.size() - at < piece ? bytes.size() - at : piece);
    return sum.hex_digest();
}

TEST(Sha256, StandardDigestsAcrossThePaddingBoundaries) {
    std::string abc;
    while (abc.size() < 1000) abc += "abc";
    const std::pair<std::size_t, const char*> cases[] = {
        {0, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {3, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {55, "61fd29acc674f5bf68ff548a1aef2a05ba3523a9ba8e5c82b194cbbfdf28bf1f"},
        {56, "63bb88000afff2d2569ece88877c4271c9f28de8620585c27538ce4e5a3701bb"},
        {64, "9ed060c766efa8e4a9e451aef0915daf135de966d62728466cc7215baf33c0a2"},
        {1000, "3cf64b5ba8e8748e2d66fa0df805d550ab15f0ae76b9ec99ba87d656c00420f5"},
    };
    for (const auto& [size, expected] : cases) {
        const std::string bytes = abc.substr(0, size);
        EXPECT_EQ(digest_of(bytes, 1000), expected) << size;
        EXPECT_EQ(digest_of(bytes, 7), expected) << size << " in pieces of 7";
    }
}

}  // namespace
