// The script's syntax: the tokenizer that every reader of a script walks it
// with, and the bracket matching under it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/script_syntax.h"
#include "base/shift_jis.h"

namespace {

using vokari::TextEncoding;

// Each token as "kind:bytes", with "!" for a marker alone, "?" for an
// unclosed tag, "(argument)" for a closed one and the wait a host tag asks for.
std::string describe(const std::string& script, TextEncoding encoding = TextEncoding::ShiftJis) {
    vokari::ScriptTokenizer tokens(script, '@', encoding);
    vokari::ScriptToken token;
    std::string out;
    while (tokens.next(token)) {
        out += token.kind == vokari::TokenKind::Text ? "T:" : token.kind == vokari::TokenKind::ScriptTag ? "S:" : "V:";
        out += script.substr(static_cast<std::size_t>(token.pos), static_cast<std::size_t>(token.span));
        if (token.kind != vokari::TokenKind::Text && !token.is_known_tag()) out += "!";
        if (token.unclosed) out += "?";
        if (token.bracketed && !token.unclosed) out += "(" + token.argument + ")";
        if (token.wait_ms != 0) out += "=" + std::to_string(token.wait_ms);
        out += ' ';
    }
    return out;
}

TEST(ScriptTokenizer, TextRunsTagsArgumentsAndMarkersAlone) {
    const struct {
        const char* script;
        const char* tokens;
    } cases[] = {
        {"ab\\\\c", "T:ab S:\\\\ T:c "},
        {"\\w5x\\w\\wa", "S:\\w5=250 T:x S:\\w S:\\w T:a "},                 // the digit belongs to the tag
        {"\\_w[12]\\_w[3\\q", "S:\\_w[12](12)=12 S:\\_w[? T:3 S:\\! T:q "},  // unclosed: its argument is text
        {"@wavouts[a]@wavout[]x@0<@z", "V:@wavouts[a](a) V:@wavout[]() T:x V:@0< V:@! T:z "},
        {"\\![a[b]c]d", "S:\\![a[b]c](a[b]c) T:d "},  // nested brackets belong to the argument
        {"@a[]", "V:@a[? T:] "},                      // fewer than 3 bytes from the '[' close nothing
        {"@a[b\x82", "V:@a[? T:b\x82 "},              // nor does a lead byte as the last byte
        {"\\", "S:\\! "},
    };
    for (const auto& c : cases) EXPECT_EQ(describe(c.script), c.tokens) << c.script;
}

// A trail byte equal to a marker or a bracket is part of its character in
// Shift_JIS; in UTF-8 no byte of a longer character is one, and a character
// is stepped whole.
TEST(ScriptTokenizer, CharactersAreSteppedInTheirEncoding) {
    EXPECT_EQ(describe("\x83\x5c@+"), "T:\x83\x5c V:@+ ");                                             // ソ
    EXPECT_EQ(describe("@a[\x81\x5d\x81\x5b]]"), "V:@a[\x81\x5d\x81\x5b](\x81\x5d\x81\x5b) T:] ");     // ］ and ー
    EXPECT_EQ(describe("@a[\xe3\x81\x82]", TextEncoding::Utf8), "V:@a[\xe3\x81\x82](\xe3\x81\x82) ");  // あ
    EXPECT_EQ(describe("@a[\xe3\x81\x82]"), "V:@a[? T:\xe3\x81\x82] ");  // read as Shift_JIS
    const std::string text = "\xe3\x81\x82\x82";
    const vokari::ScriptTokenizer utf8(text, '@', TextEncoding::Utf8);
    EXPECT_EQ(utf8.character_size(0), 3);
    EXPECT_EQ(utf8.character_size(3), 1);
    EXPECT_EQ(vokari::script_length(std::string("ab\0c", 4)), 2);
    EXPECT_EQ(vokari::script_length("abc"), 3);
}

// The bracket search as a plain walk counting depth along the characters.
int walk_extract(const std::string& text, int p, std::string& out) {
    const int end = static_cast<int>(text.size());
    if (end - p < 3) return -1;
    for (int i = p + 1, depth = 1; i < end;) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        depth += c == '[' ? 1 : c == ']' ? -1 : 0;
        if (depth == 0) {
            out = text.substr(p + 1, i - p - 1);
            return i - p + 1;
        }
        if (vokari::is_sjis_lead(c) && i + 1 >= end) return -1;
        i += vokari::is_sjis_lead(c) ? 2 : 1;
    }
    return -1;
}

TEST(BracketMatcher, RememberedMatchesAgreeWithAPlainWalk) {
    std::mt19937 random(7);
    const char alphabet[] = {'[', ']', 'a', '\x81', '\x5b', '\x5d'};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int i = 1 + random() % 40; i > 0; --i) text += alphabet[random() % sizeof alphabet];
        vokari::BracketMatcher matcher(text.data(), static_cast<int>(text.size()));
        std::vector<int> opens;  // asked in random order, so remembered matches are reused
        for (int i = 0; i < static_cast<int>(text.size()); ++i)
            if (text[i] == '[') opens.push_back(i);
        std::shuffle(opens.begin(), opens.end(), random);
        for (int p : opens) {
            std::string expected, out;
            ASSERT_EQ(matcher.extract(p, out), walk_extract(text, p, expected)) << text << " at " << p;
            EXPECT_EQ(out, expected);
        }
    }
}

}  // namespace
