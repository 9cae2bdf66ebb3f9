// Repeated leftmost replacement without restarting.
//
// Why resuming just before a replacement gives the restart's result: let the
// leftmost occurrence start at i and be replaced.  The bytes before i are
// unchanged, and so are the character boundaries among them (boundaries are
// counted from the start).  An occurrence that now starts at or before
// i - |search| lies wholly in those bytes, so it existed before, at the same
// boundary, and the earlier search would have found it instead of i.  Hence
// the next leftmost occurrence starts at a boundary after i - |search|: the
// search may resume at the last boundary at or before i - |search| + 1 and
// walk on through the replacement and the rest of the text.
//
// The text is kept in a gap buffer: the examined bytes at the front (up to
// `done`), the bytes still to examine at the back (from `rest`).  A
// replacement is written in front of `rest`, and the last |search| - 1
// examined bytes are moved back behind the gap to be examined again.
#include "translate/repeated_replace.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/text_routines.h"

namespace vokari {

namespace {

class GapText {
public:
    GapText(const std::string& text, std::size_t gap, bool track_boundaries, std::vector<std::int32_t>* marks)
        : bytes_(text.size() + gap, '\0'), done_(0), rest_(gap), track_(track_boundaries), marked_(marks != nullptr) {
        std::memcpy(bytes_.data() + rest_, text.data(), text.size());
        if (track_) starts_.assign(bytes_.size(), 0);
        if (marked_) {
            marks_.assign(bytes_.size(), -1);
            std::copy(marks->begin(), marks->end(), marks_.begin() + static_cast<std::ptrdiff_t>(rest_));
        }
    }

    std::size_t remaining() const { return bytes_.size() - rest_; }
    const char* next() const { return bytes_.data() + rest_; }

    // Compared byte by byte: the search texts are a few bytes long, and in
    // kana text their first byte (a lead byte) matches almost every character.
    bool next_is(const std::string& search) const {
        if (remaining() < search.size()) return false;
        const char* at = next();
        for (std::size_t k = 0; k < search.size(); ++k)
            if (at[k] != search[k]) return false;
        return true;
    }

    // Moves the next `size` bytes to the examined part without marking
    // character starts (byte-wise searches need none).
    void pass_bytes(std::size_t size) {
        if (done_ != rest_) move(rest_, done_, size);
        done_ += size;
        rest_ += size;
    }

    // Moves the next character (`size` bytes) to the examined part.
    void pass(std::size_t size) {
        if (track_) {
            starts_[done_] = 1;
            if (size == 2) starts_[done_ + 1] = 0;
        }
        if (done_ != rest_) move(rest_, done_, size);
        done_ += size;
        rest_ += size;
    }

    // Drops `search_size` bytes ahead, puts `replacement` in their place, and
    // steps back so that the last `search_size` - 1 examined bytes (widened to
    // a character boundary) are examined again.  The replacement's first byte
    // takes the first mark of the bytes it replaced.
    void replace_next(std::size_t search_size, const std::string& replacement) {
        std::int32_t mark = -1;
        for (std::size_t k = 0; marked_ && k < search_size && mark < 0; ++k) mark = marks_[rest_ + k];
        rest_ += search_size;
        if (rest_ - done_ < replacement.size()) widen_gap(replacement.size());
        rest_ -= replacement.size();
        std::memcpy(bytes_.data() + rest_, replacement.data(), replacement.size());
        if (marked_ && !replacement.empty()) {
            std::fill_n(marks_.begin() + static_cast<std::ptrdiff_t>(rest_), replacement.size(), -1);
            marks_[rest_] = mark;
        }
        if (search_size < 2 || done_ == 0) return;
        std::size_t back_to = done_ > search_size - 1 ? done_ - (search_size - 1) : 0;
        if (track_ && !starts_[back_to]) --back_to;  // a trail byte: its lead starts the character
        const std::size_t moved = done_ - back_to;
        rest_ -= moved;
        move(back_to, rest_, moved);
        done_ = back_to;
    }

    std::string result(std::vector<std::int32_t>* marks) const {
        std::string text(bytes_.data(), done_);
        text.append(bytes_.data() + rest_, remaining());
        if (marked_) {
            marks->assign(marks_.begin(), marks_.begin() + static_cast<std::ptrdiff_t>(done_));
            marks->insert(marks->end(), marks_.begin() + static_cast<std::ptrdiff_t>(rest_), marks_.end());
        }
        return text;
    }

private:
    // Moves `size` bytes, and their marks, from `from` to `to`.
    void move(std::size_t from, std::size_t to, std::size_t size) {
        std::memmove(bytes_.data() + to, bytes_.data() + from, size);
        if (marked_) std::memmove(marks_.data() + to, marks_.data() + from, size * sizeof(std::int32_t));
    }

    // Makes room for at least `needed` bytes between the two parts, doubling
    // the buffer so that growth costs linear time overall.
    void widen_gap(std::size_t needed) {
        const std::size_t used = done_ + remaining();
        const std::size_t wider_size = used + needed + used + 16;
        const std::size_t new_rest = wider_size - remaining();
        std::vector<char> wider(wider_size, '\0');
        std::memcpy(wider.data(), bytes_.data(), done_);
        std::memcpy(wider.data() + new_rest, bytes_.data() + rest_, remaining());
        if (marked_) {
            std::vector<std::int32_t> wider_marks(wider_size, -1);
            std::copy_n(marks_.begin(), done_, wider_marks.begin());
            std::copy(marks_.begin() + static_cast<std::ptrdiff_t>(rest_), marks_.end(),
                      wider_marks.begin() + static_cast<std::ptrdiff_t>(new_rest));
            marks_.swap(wider_marks);
        }
        if (track_) starts_.resize(wider_size, 0);
        bytes_.swap(wider);
        rest_ = new_rest;
    }

    std::vector<char> bytes_;
    std::size_t done_;
    std::size_t rest_;
    bool track_;
    bool marked_;
    std::vector<unsigned char> starts_;  // per examined byte: 1 where a character starts
    std::vector<std::int32_t> marks_;    // per byte, when marked: what the caller marked it with, or -1
};

// True when `search` occurs in `text` byte-wise: a quick test that spares a
// text without a match the copy.  It looks for the search text's last byte,
// which in kana is the distinctive second byte of a character.
bool occurs_bytewise(const std::string& text, const std::string& search) {
    if (search.size() > text.size()) return false;
    const std::size_t last = search.size() - 1;
    const char* bytes = text.data();
    const char* end = bytes + text.size();
    for (const char* from = bytes + last; from < end;) {
        const char* hit =
            static_cast<const char*>(std::memchr(from, search[last], static_cast<std::size_t>(end - from)));
        if (hit == nullptr) return false;
        if (std::memcmp(hit - last, search.data(), last) == 0) return true;
        from = hit + 1;
    }
    return false;
}

// The first byte-wise occurrence of `search` in bytes[0, size), or null.
const char* find_bytes(const char* bytes, std::size_t size, const std::string& search) {
    const char* end = bytes + size;
    for (const char* from = bytes; static_cast<std::size_t>(end - from) >= search.size();) {
        const char* hit = static_cast<const char*>(std::memchr(from, search[0], static_cast<std::size_t>(end - from)));
        if (hit == nullptr || static_cast<std::size_t>(end - hit) < search.size()) return nullptr;
        if (std::memcmp(hit, search.data(), search.size()) == 0) return hit;
        from = hit + 1;
    }
    return nullptr;
}

}  // namespace

bool replace_repeatedly(std::string& text, const std::string& search, const std::string& replacement, MatchStart start,
                        std::size_t max_replacements, std::vector<std::int32_t>* marks) {
    if (search.empty() || !occurs_bytewise(text, search)) return true;
    const bool by_character = start == MatchStart::CharacterBoundary;
    GapText gap_text(text, replacement.size() > search.size() ? replacement.size() : 0, by_character, marks);
    std::size_t replacements = 0;
    bool finished = true;
    while (gap_text.remaining() > 0) {
        if (!by_character) {
            // Byte-wise, every byte up to the next occurrence can pass at once.
            const char* hit = find_bytes(gap_text.next(), gap_text.remaining(), search);
            if (hit == nullptr) break;
            gap_text.pass_bytes(static_cast<std::size_t>(hit - gap_text.next()));
        }
        if (gap_text.next_is(search)) {
            if (replacements == max_replacements) {
                finished = false;
                break;
            }
            ++replacements;
            gap_text.replace_next(search.size(), replacement);
            continue;
        }
        gap_text.pass(by_character ? sjis_char_size(gap_text.next(), 0, gap_text.remaining()) : 1);
    }
    text = gap_text.result(marks);
    return finished;
}

bool contains_at_character_start(const std::string& text, const std::string& search) {
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, search.size(), search) == 0) return true;
        i += sjis_char_size(text.data(), i, text.size());
    }
    return false;
}

}  // namespace vokari
