// The syntax of a script, the one place that knows it: the host's backslash
// tags and the module's voice-control tags (their names, what each is and the
// pause it asks for), the bracketed argument, where a script ends, and the
// tokenizer that every reader of a script walks it with: the scanner, the
// reading between tags, the wait insertion and the tools.
#pragma once

#include <cstdint>
#include <string>

#include "base/bracket_matcher.h"
#include "base/string_table.h"

namespace vokari {

// What a host tag does to the speech.
enum class ScriptTagKind : std::uint8_t {
    Skipped,           // no sound; the tag stays in the reply
    EscapedBackslash,  // "\\": one character of silence, shown as one
    MainSpeaker,       // "0"
    PartnerSpeaker,    // "1"
    DigitWait,         // "w" and a digit
    DigitSpeed,        // "s" and a digit: skipped
    ArgumentWait,      // "_w[": pauses for its argument
    LineBreak,         // "n" and "n[": skipped by the voice, a new line on screen
};

struct ScriptTag {
    const char* name;  // after the backslash; a bracketed one ends in '['
    ScriptTagKind kind;
    int wait_ms_per_unit;  // the pause per unit of its digit or argument
};

// The host's tags: the names of those with a bracketed argument (tried first)
// and of those without, in table order, and the tags themselves.
extern const StringTable script_bracket_tags;
extern const StringTable script_plain_tags;
const ScriptTag& script_bracket_tag(int index);
const ScriptTag& script_plain_tag(int index);

// The module's voice-control tags after the tag prefix, numbered in the
// order of their names' tables (script_syntax.cpp): those with a bracketed
// argument, tried first...
extern const StringTable voice_bracket_tags;
enum VoiceBracketTag {
    kWavOutTag,
    kLevelAddTag,
    kLevelSubtractTag,
    kPitchStepTag,
    kPitchUpTag,
    kPitchDownTag,
    kGTag,
    kPTag,
    kSpeedTag,
    kSoundEffectTag,
    kPitchSetUpTag,
    kPitchSetDownTag,
    kLevelSetUpTag,
    kLevelSetDownTag,
    kWavOutSilentTag
};

// ...and those without an argument, in table order.
extern const StringTable voice_plain_tags;
enum VoicePlainTag {
    kLevelUpStep,
    kLevelDownStep,
    kLevelReset,
    kPitchUpStep,
    kPitchDownStep,
    kPitchReset,
    kVoiceOff,
    kSpeedReset,
    kParticleWa,
    kOverlapToggle,
    kOmitText,
    kReleaseNow,
    kPitchSetUpStep,
    kPitchSetDownStep,
    kLevelSetUpStep,
    kLevelSetDownStep,
    kEndOfVoice
};

// A script ends at its first NUL: the bytes before it, held to the int range.
std::int32_t script_length(const std::string& script);

enum class TokenKind : std::uint8_t {
    Text,       // characters up to the next backslash or tag prefix
    ScriptTag,  // at a backslash
    VoiceTag,   // at the tag prefix
};

struct ScriptToken {
    TokenKind kind = TokenKind::Text;
    std::int32_t pos = 0;
    // Bytes from `pos`: the text run; a tag through its digit or closing
    // bracket; an unclosed tag through its '[' (its argument is then text);
    // a marker that starts no tag, the marker alone.
    std::int32_t span = 0;
    int tag = -1;  // in script_*_tags or voice_*_tags; -1: a marker alone
    bool bracketed = false;
    bool unclosed = false;
    std::int32_t name_length = 0;  // bytes of the name after the marker
    std::string argument;          // a closed bracketed tag's
    std::int64_t wait_ms = 0;      // the pause a host tag asks for

    bool is_known_tag() const { return tag >= 0; }
    std::int32_t end() const { return pos + span; }
    // The host tag; only for a known ScriptTag.
    const ScriptTag& script_tag() const { return bracketed ? script_bracket_tag(tag) : script_plain_tag(tag); }
};

// Walks one unchanging script: Shift_JIS as the scanner steps it (every byte
// from 0x80 outside the half-width katakana starts a pair), or UTF-8 for the
// tools' decoded texts.  Brackets are matched character by character in the
// same encoding, so a trail byte never closes or opens an argument.
class ScriptTokenizer {
public:
    ScriptTokenizer(const char* text, std::int32_t length, unsigned char tag_prefix,
                    TextEncoding encoding = TextEncoding::ShiftJis);
    ScriptTokenizer(const std::string& text, unsigned char tag_prefix, TextEncoding encoding = TextEncoding::ShiftJis)
        : ScriptTokenizer(text.data(), static_cast<std::int32_t>(text.size()), tag_prefix, encoding) {}
    // The tokenizer reads the text in place: never a temporary.
    ScriptTokenizer(std::string&&, unsigned char, TextEncoding = TextEncoding::ShiftJis) = delete;

    // The token that starts at `pos` (before the end).
    void token_at(std::int32_t pos, ScriptToken& token);

    // The tokens in order, from the start: false after the last.
    bool next(ScriptToken& token);

    // Bytes of the text character at `pos`; a lead byte as the last byte is a
    // character of its own.
    std::int32_t character_size(std::int32_t pos) const;

    std::int32_t length() const { return length_; }

private:
    void read_tag(const StringTable& bracketed, const StringTable& plain, ScriptToken& token);
    void read_script_tag(ScriptToken& token);

    const char* text_;
    std::int32_t length_;
    unsigned char tag_prefix_;
    TextEncoding encoding_;
    BracketMatcher brackets_;
    std::int32_t next_ = 0;
};

}  // namespace vokari
