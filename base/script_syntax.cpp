// The script's tag tables and its tokenizer.
#include "base/script_syntax.h"

#include <cstring>

#include "base/shift_jis.h"
#include "base/text_routines.h"

namespace vokari {

namespace {

using Kind = ScriptTagKind;

constexpr ScriptTag kBracketTags[] = {
    {"_a[", Kind::Skipped, 0}, {"b[", Kind::Skipped, 0},  {"_b[", Kind::Skipped, 0},      {"i[", Kind::Skipped, 0},
    {"j[", Kind::Skipped, 0},  {"_l[", Kind::Skipped, 0}, {"m[", Kind::Skipped, 0},       {"n[", Kind::LineBreak, 0},
    {"s[", Kind::Skipped, 0},  {"_v[", Kind::Skipped, 0}, {"_w[", Kind::ArgumentWait, 1}, {"![", Kind::Skipped, 0},
    {"q[", Kind::Skipped, 0}};
constexpr ScriptTag kPlainTags[] = {
    {"\\", Kind::EscapedBackslash, 0}, {"0", Kind::MainSpeaker, 0}, {"1", Kind::PartnerSpeaker, 0},
    {"c", Kind::Skipped, 0},           {"e", Kind::Skipped, 0},     {"n", Kind::LineBreak, 0},
    {"_n", Kind::Skipped, 0},          {"_q", Kind::Skipped, 0},    {"_s", Kind::Skipped, 0},
    {"_V", Kind::Skipped, 0},          {"w", Kind::DigitWait, 50},  {"x", Kind::Skipped, 0},
    {"*", Kind::Skipped, 0},           {"-", Kind::Skipped, 0},     {"s", Kind::DigitSpeed, 0}};

constexpr int kBracketCount = sizeof kBracketTags / sizeof *kBracketTags;
constexpr int kPlainCount = sizeof kPlainTags / sizeof *kPlainTags;

// The names of a tag table and their lengths, as a StringTable reads them.
template <std::size_t N>
struct TagNames {
    const char* names[N] = {};
    std::int32_t lengths[N] = {};
    constexpr explicit TagNames(const ScriptTag (&tags)[N]) {
        for (std::size_t i = 0; i < N; ++i) {
            names[i] = tags[i].name;
            lengths[i] = measured_length(tags[i].name);
        }
    }
};

constexpr TagNames<kBracketCount> kBracketNames{kBracketTags};
constexpr TagNames<kPlainCount> kPlainNames{kPlainTags};

constexpr const char* kVoiceBracketNames[] = {"wavout[", "+[", "-[",  "u[",  "<[",  ">[",  "g[",      "p[",
                                              "s[",      "a[", "0<[", "0>[", "0+[", "0-[", "wavouts["};
constexpr const char* kVoicePlainNames[] = {"+", "-", "=", "<",  ">",  "|",  "n",  "s", "w",
                                            "b", "o", ":", "0<", "0>", "0+", "0-", "e"};

// The voice tags' enums (script_syntax.h) number these tables.
static_assert(sizeof kVoiceBracketNames / sizeof *kVoiceBracketNames == kWavOutSilentTag + 1, "");
static_assert(sizeof kVoicePlainNames / sizeof *kVoicePlainNames == kEndOfVoice + 1, "");

constexpr MeasuredLengths<sizeof kVoiceBracketNames / sizeof *kVoiceBracketNames> kVoiceBracketLengths{
    kVoiceBracketNames};
constexpr MeasuredLengths<sizeof kVoicePlainNames / sizeof *kVoicePlainNames> kVoicePlainLengths{kVoicePlainNames};

}  // namespace

constexpr StringTable script_bracket_tags{kBracketNames.names, kBracketNames.lengths, kBracketCount};
constexpr StringTable script_plain_tags{kPlainNames.names, kPlainNames.lengths, kPlainCount};
constexpr StringTable voice_bracket_tags{kVoiceBracketNames, kVoiceBracketLengths.values,
                                         sizeof kVoiceBracketNames / sizeof *kVoiceBracketNames};
constexpr StringTable voice_plain_tags{kVoicePlainNames, kVoicePlainLengths.values,
                                       sizeof kVoicePlainNames / sizeof *kVoicePlainNames};

const ScriptTag& script_bracket_tag(int index) { return kBracketTags[index]; }
const ScriptTag& script_plain_tag(int index) { return kPlainTags[index]; }

std::int32_t script_length(const std::string& script) {
    const void* nul = std::memchr(script.data(), '\0', script.size());
    const std::size_t size =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - script.data()) : script.size();
    return size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<std::int32_t>(size);
}

ScriptTokenizer::ScriptTokenizer(const char* text, std::int32_t length, unsigned char tag_prefix, TextEncoding encoding)
    : text_(text), length_(length), tag_prefix_(tag_prefix), encoding_(encoding), brackets_(text, length, encoding) {}

std::int32_t ScriptTokenizer::character_size(std::int32_t pos) const {
    const auto lead = static_cast<unsigned char>(text_[pos]);
    const std::int32_t size = encoding_ == TextEncoding::Utf8 ? utf8_sequence_length(lead)
                              : starts_script_pair(lead)      ? 2
                                                              : 1;
    return size < length_ - pos ? size : length_ - pos;
}

// A bracketed tag runs from its marker through the ']' that closes its '[';
// without one it ends at the '[' and its argument is read as text.  A digit
// tag takes the digit 0..9 after its name, if there is one.
void ScriptTokenizer::read_tag(const StringTable& bracketed, const StringTable& plain, ScriptToken& token) {
    const TagMatch match = match_tag(bracketed, plain, text_, token.pos, length_);
    token.tag = match.tag;
    token.bracketed = match.bracketed;
    token.name_length = match.name_length;
    token.span = match.name_length + 1;
    if (!match.found() || !match.bracketed) return;
    const std::int32_t argument_span = brackets_.extract(token.pos + match.name_length, token.argument);
    if (argument_span < 0) token.unclosed = true;
    else token.span = match.name_length + argument_span;
}

void ScriptTokenizer::read_script_tag(ScriptToken& token) {
    read_tag(script_bracket_tags, script_plain_tags, token);
    if (!token.is_known_tag() || token.unclosed) return;
    const ScriptTag& tag = token.script_tag();
    if (token.bracketed) {
        if (tag.wait_ms_per_unit != 0)
            token.wait_ms = static_cast<std::int64_t>(string_to_int(token.argument.c_str())) * tag.wait_ms_per_unit;
        return;
    }
    if (tag.kind != ScriptTagKind::DigitWait && tag.kind != ScriptTagKind::DigitSpeed) return;
    const std::int32_t digit = token.pos + token.span;
    if (digit >= length_ || text_[digit] < '0' || text_[digit] > '9') return;
    token.span += 1;
    token.wait_ms = static_cast<std::int64_t>(text_[digit] - '0') * tag.wait_ms_per_unit;
}

// A backslash is always a host tag's marker, also when it is the tag prefix.
void ScriptTokenizer::token_at(std::int32_t pos, ScriptToken& token) {
    token.pos = pos;
    token.tag = -1;
    token.bracketed = false;
    token.unclosed = false;
    token.name_length = 0;
    token.argument.clear();
    token.wait_ms = 0;
    const auto b = static_cast<unsigned char>(text_[pos]);
    if (b == '\\') {
        token.kind = TokenKind::ScriptTag;
        read_script_tag(token);
    } else if (b == tag_prefix_) {
        token.kind = TokenKind::VoiceTag;
        read_tag(voice_bracket_tags, voice_plain_tags, token);
    } else {
        token.kind = TokenKind::Text;
        std::int32_t end = pos;
        do {
            end += character_size(end);
        } while (end < length_ && text_[end] != '\\' && static_cast<unsigned char>(text_[end]) != tag_prefix_);
        token.span = end - pos;
    }
}

bool ScriptTokenizer::next(ScriptToken& token) {
    if (next_ >= length_) return false;
    token_at(next_, token);
    next_ = token.end();
    return true;
}

}  // namespace vokari
