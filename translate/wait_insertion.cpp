// Wait-tag insertion: after every displayed character of the reply a wait tag
// "\_w[n]" spreads the speech time over the characters, so that the host's
// text keeps pace with the voice.  The module's own tags are removed from the
// reply; the host's script tags stay.
//
// Every insertion point first gets a placeholder, because the wait is known
// only when all characters have been counted; the placeholders are then
// replaced by the wait tag (or removed when the wait is not positive).
#include <limits>

#include "base/text_routines.h"
#include "base/script_syntax.h"
#include "translate/repeated_replace.h"
#include "translate/wait_insertion.h"
#include "translate/time_math.h"
#include "voice_data/settings.h"

namespace vokari {

namespace {

// Marks the place of a wait in the reply until the wait is known.
constexpr char kWaitPlaceholder[] = "\x01\x5c\x01\x5f\x01\x57\x01";

// The reply being built: `text` is the script as the host sent it; `out`
// receives what the reply keeps, with placeholders.
struct WaitScan {
    WaitScan(const char* text, std::int32_t length, unsigned char tag_prefix)
        : text(text), tokens(text, length, tag_prefix) {}

    const char* text;
    ScriptTokenizer tokens;
    std::string out;
    std::int64_t char_count = 0;
    std::int64_t tag_wait_ms = 0;  // the waits the script's own tags ask for

    void keep(std::int32_t pos, std::int32_t bytes) { out.append(text + pos, static_cast<std::size_t>(bytes)); }

    // Counts a displayed character and marks the place of its wait.
    void count_character() {
        char_count += 1;
        out += kWaitPlaceholder;
    }
};

// A known script tag stays whole in the reply, adding the waits it asks for;
// an unclosed one keeps its marker and name, and the bytes after its '[' are
// displayed characters.  An escaped backslash is shown, so a wait follows it,
// but it is not counted among the characters.
void keep_script_tag(WaitScan& scan, const ScriptToken& token) {
    scan.keep(token.pos, token.span);
    if (token.unclosed) return;
    scan.tag_wait_ms = add_time(scan.tag_wait_ms, token.wait_ms);
    if (token.script_tag().kind == ScriptTagKind::EscapedBackslash) scan.out += kWaitPlaceholder;
}

// The characters of a text run, each kept (or dropped when the text is
// omitted) and followed by its wait.
void pass_text(WaitScan& scan, const ScriptToken& run, bool omit_text) {
    for (std::int32_t pos = run.pos; pos < run.end();) {
        const std::int32_t size = scan.tokens.character_size(pos);
        if (!omit_text) scan.keep(pos, size);
        pos += size;
        scan.count_character();
    }
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
    const std::int32_t length = script_length(script);
    WaitScan scan(script.data(), length, settings.tag_prefix);
    scan.out.reserve(static_cast<std::size_t>(length) * 8 + 1);

    // A backslash or prefix that starts no tag is shown, also when the text
    // is omitted; a known voice-control tag is dropped from the reply.
    ScriptToken token;
    while (scan.tokens.next(token)) {
        if (token.kind == TokenKind::Text) {
            pass_text(scan, token, omit_text);
        } else if (!token.is_known_tag()) {
            scan.keep(token.pos, token.span);
            scan.count_character();
        } else if (token.kind == TokenKind::ScriptTag) {
            keep_script_tag(scan, token);
        }
    }

    std::string reply = std::move(scan.out);
    replace_repeatedly(reply, std::string(kWaitPlaceholder), wait_tag(settings, total_ms, omit_text, scan),
                       MatchStart::AnyByte, std::numeric_limits<std::size_t>::max());
    script = std::move(reply);
}

}  // namespace vokari
