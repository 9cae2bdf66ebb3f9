// Wait-tag insertion: after every displayed character of the reply a wait tag
// "\_w[n]" spreads the speech time over the characters, so that the host's
// text keeps pace with the voice.  The module's own tags are removed from the
// reply; the host's script tags stay.
//
// Every insertion point first gets a placeholder, because the wait is known
// only when all characters have been counted; the placeholders are then
// replaced by the wait tag (or removed when the wait is not positive).
#include <cstring>
#include <limits>

#include "base/text_routines.h"
#include "base/bracket_matcher.h"
#include "translate/repeated_replace.h"
#include "translate/wait_insertion.h"
#include "translate/script_tags.h"
#include "translate/time_math.h"
#include "translate/voice_tags.h"
#include "voice_data/settings.h"

namespace vokari {

namespace {

// Marks the place of a wait in the reply until the wait is known.
constexpr char kWaitPlaceholder[] = "\x01\x5c\x01\x5f\x01\x57\x01";

// The reply being built: `text` is the script as the host sent it, read from
// `pos` on; `out` receives what the reply keeps, with placeholders.
struct WaitScan {
    WaitScan(const char* text, std::int32_t length) : text(text), length(length), brackets(text, length) {}

    const char* text;
    std::int32_t length;
    BracketMatcher brackets;
    std::int32_t pos = 0;
    std::string out;
    std::int64_t char_count = 0;
    std::int64_t tag_wait_ms = 0;  // the waits the script's own tags ask for

    void keep(std::int32_t bytes) {
        out.append(text + pos, static_cast<std::size_t>(bytes));
        pos += bytes;
    }
};

// At a backslash: keeps a known script tag whole in the reply, adding the
// waits it asks for.  False when no tag starts here.
bool skip_script_tag_for_waits(WaitScan& scan) {
    const ScriptTagMatch match = match_script_tag(scan.text, scan.pos, scan.length);
    if (!match.found()) return false;
    const std::int32_t name_length = match.name_length;
    if (match.bracketed) {
        std::string argument;
        const std::int32_t span = scan.brackets.extract(scan.pos + name_length, argument);
        if (span < 0) {
            // Unclosed: the bytes after the '[' are displayed characters.
            scan.keep(name_length + 1);
            return true;
        }
        if (match.tag->wait_ms_per_unit != 0)
            scan.tag_wait_ms = add_time(scan.tag_wait_ms, bracket_tag_wait_ms(*match.tag, argument));
        scan.keep(name_length + span);
        return true;
    }
    const PlainTagUse use = use_plain_tag(match, scan.text, scan.pos, scan.length);
    if (use.pauses) scan.tag_wait_ms = add_time(scan.tag_wait_ms, use.wait_ms);
    scan.keep(use.span);
    // An escaped backslash is shown, so a wait follows it, but it is not
    // counted among the characters.
    if (match.tag->kind == ScriptTagKind::EscapedBackslash) scan.out += kWaitPlaceholder;
    return true;
}

// At the tag prefix: drops a known voice-control tag (with its argument when
// the bracket closes) from the reply.  False when no tag starts here.
bool remove_voice_tag(WaitScan& scan) {
    const TagMatch match = match_tag(voice_bracket_tags, voice_plain_tags, scan.text, scan.pos, scan.length);
    if (!match.found()) return false;
    if (match.bracketed) {
        std::string argument;
        const std::int32_t span = scan.brackets.extract(scan.pos + match.name_length, argument);
        scan.pos += span < 0 ? match.name_length + 1 : match.name_length + span;
    } else {
        scan.pos += match.name_length + 1;
    }
    return true;
}

// Counts a displayed character and marks the place of its wait.
void count_character(WaitScan& scan) {
    scan.char_count += 1;
    scan.out += kWaitPlaceholder;
}

// Bytes of the displayed character starting with `b`; a first byte of a pair
// that is the script's last byte is a character of its own.
std::int32_t character_size(const WaitScan& scan, unsigned char b) {
    return starts_script_pair(b) && scan.pos + 1 < scan.length ? 2 : 1;
}

// The wait tag that follows every displayed character: the speech time less
// the script's own waits, spread over the characters, less the host's own
// per-character delay when the text is shown.  Empty when not positive; held
// to the int range, which is all a host reads from the tag.
std::string wait_tag(const Settings& settings, std::int64_t total_ms, bool omit_text, const WaitScan& scan) {
    if (scan.char_count == 0) return std::string();
    std::int64_t wait = add_time(total_ms, -scan.tag_wait_ms) / scan.char_count;
    if (!omit_text) wait -= static_cast<std::int64_t>(settings.message_speed) + 45;
    if (wait <= 0) return std::string();
    return "\\_w[" + int_to_decimal(saturate_to_int32(wait)) + "]";
}

}  // namespace

// script: the reply as the host sent it (read up to its first NUL), rewritten
// in place.  total_ms and omit_text: what scan_script returned for the voice
// text.
void insert_waits(const Settings& settings, std::string& script, std::int64_t total_ms, bool omit_text) {
    const void* nul = std::memchr(script.data(), '\0', script.size());
    const std::size_t size =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - script.data()) : script.size();
    WaitScan scan(script.data(), saturate_to_int32(static_cast<std::int64_t>(size)));
    scan.out.reserve(size * 8 + 1);

    while (scan.pos < scan.length) {
        const unsigned char b = static_cast<unsigned char>(scan.text[scan.pos]);
        if (b == '\\') {
            if (skip_script_tag_for_waits(scan)) continue;
            scan.keep(1);  // a lone backslash is shown, also when text is omitted
        } else if (b == settings.tag_prefix) {
            if (remove_voice_tag(scan)) continue;
            scan.keep(1);  // so is a prefix that starts no tag
        } else if (omit_text) {
            scan.pos += character_size(scan, b);
        } else {
            scan.keep(character_size(scan, b));
        }
        count_character(scan);
    }

    std::string reply = std::move(scan.out);
    replace_repeatedly(reply, std::string(kWaitPlaceholder), wait_tag(settings, total_ms, omit_text, scan),
                       MatchStart::AnyByte, std::numeric_limits<std::size_t>::max());
    script = std::move(reply);
}

}  // namespace vokari
