// The reading step's analyser at work: MeCab over the voice's dictionary,
// the accent and pronunciation rules after it, and the words it gives.
#include "reading/text_reader.h"

#include <cstring>

#include "base/shift_jis.h"
#include "reading/homograph_readings.h"
#include "reading/dictionary_files.h"
#include "reading/sign_readings.h"

// The analyser's C headers: njd.h first, the others use its types.
#include "mecab.h"
#include "njd.h"
#include "mecab2njd.h"
#include "njd_set_accent_phrase.h"
#include "njd_set_accent_type.h"
#include "njd_set_digit.h"
#include "njd_set_pronunciation.h"
#include "text2mecab.h"

namespace vokari {

struct TextReader::Engine {
    Mecab mecab{};
    NJD njd{};
    std::string converted;
    std::vector<std::size_t> origin;

    Engine() {
        Mecab_initialize(&mecab);
        NJD_initialize(&njd);
    }
    ~Engine() {
        NJD_clear(&njd);
        Mecab_clear(&mecab);
    }
};

namespace {

const char kSymbolPos[] = "\x8B\x4C\x8D\x86";                                              // 記号
const char kAlphabetGroup[] = "\x83\x41\x83\x8B\x83\x74\x83\x40\x83\x78\x83\x62\x83\x67";  // アルファベット
const char kTouten[] = "\x81\x41";                                                         // 、

bool is_trail_byte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Bytes of the analysable character at text[i]: a Shift_JIS pair, printable
// ASCII or a half-width kana; 0 when the bytes there are none of these.
std::size_t clean_char_size(const char* text, std::size_t i, std::size_t length) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (is_sjis_lead(b)) return i + 1 < length && is_trail_byte(static_cast<unsigned char>(text[i + 1])) ? 2 : 0;
    if ((b >= 0x20 && b <= 0x7E) || (b >= 0xA1 && b <= 0xDF)) return 1;
    return 0;
}

// Where a piece may end: after sentence and clause marks and blanks.
bool ends_clause(const char* c, std::size_t size) {
    if (size == 1) return c[0] == ' ' || c[0] == '.' || c[0] == '!' || c[0] == '?';
    const unsigned char lead = static_cast<unsigned char>(c[0]), trail = static_cast<unsigned char>(c[1]);
    return lead == 0x81 && (trail == 0x40 || trail == 0x41 || trail == 0x42 || trail == 0x48 || trail == 0x49);
}

ReadWord raw_symbol(const char* bytes, std::size_t size) {
    ReadWord word;
    word.surface.assign(bytes, size);
    word.symbol = true;
    return word;
}

const char* or_empty(const char* text) { return text != nullptr ? text : ""; }

bool is_kana_code(unsigned code) { return (code >= 0x829F && code <= 0x82F1) || (code >= 0x8340 && code <= 0x8396); }

// Signs the dictionary gives a sound of their own: letters (Ａ: エイ, read
// when the analyser cuts a letter word before a particle into letters) and
// kana that it files as signs (ノ).
bool is_spoken_sign(const std::string& group, const std::string& surface) {
    if (group == kAlphabetGroup) return true;
    if (surface.size() != 2) return false;
    const unsigned code =
        static_cast<unsigned>(static_cast<unsigned char>(surface[0])) << 8 | static_cast<unsigned char>(surface[1]);
    return is_kana_code(code);
}

bool is_voicing_mark(unsigned char b) { return b == 0xDE || b == 0xDF; }

// The analyser's full-width form of `piece` (text2mecab's own, one character
// at a time: ASCII and half-width kana become full-width, a half-width kana
// with its voicing mark one kana) and, for every byte offset of it, the offset
// in `piece` where its character came from.
void to_fullwidth(const std::string& piece, std::string& converted, std::vector<std::size_t>& origin) {
    converted.clear();
    origin.clear();
    char in[3] = {};
    char out[16] = {};
    for (std::size_t i = 0; i < piece.size();) {
        const unsigned char b = static_cast<unsigned char>(piece[i]);
        std::size_t size = is_sjis_lead(b) && i + 1 < piece.size() ? 2 : 1;
        in[0] = piece[i];
        in[1] = size == 2 ? piece[i + 1] : '\0';
        if (size == 1 && i + 1 < piece.size() && is_voicing_mark(static_cast<unsigned char>(piece[i + 1]))) {
            in[1] = piece[i + 1];
            text2mecab(out, in);
            if (std::strlen(out) == 2) size = 2;  // one kana of both
            else in[1] = '\0';
        }
        text2mecab(out, in);
        for (const char* c = out; *c != '\0'; ++c) {
            converted += *c;
            origin.push_back(i);
        }
        i += size;
    }
    origin.push_back(piece.size());
}

// Words that say nothing get the author's own bytes back in place of their
// full-width form: the scanner makes of them what it makes of the script
// without the reading step (a half-width ~ is a pause, its full-width form
// holds the vowel before it).  A word is looked for from where the last one
// was found; one that the analyser rewrote (digits read as kanji) is not
// found and keeps its form.
void restore_unread_words(const std::string& piece, const std::string& converted,
                          const std::vector<std::size_t>& origin, std::vector<ReadWord>& words) {
    std::size_t cursor = 0;
    for (ReadWord& word : words) {
        if (word.surface.empty()) continue;
        const std::size_t at = converted.find(word.surface, cursor);
        if (at == std::string::npos) continue;
        cursor = at + word.surface.size();
        if (word.symbol || word.pronunciation.empty())
            word.surface = piece.substr(origin[at], origin[cursor] - origin[at]);
    }
}

}  // namespace

TextReader::TextReader() = default;
TextReader::~TextReader() = default;

std::string TextReader::open(const std::string& folder) {
    close();
    const std::string problem = check_dictionary_files(folder);
    if (!problem.empty()) return problem;
    std::unique_ptr<Engine> engine(new Engine);
    if (!Mecab_load(&engine->mecab, folder.c_str())) return "the analyser cannot open it";
    engine_ = std::move(engine);
    return std::string();
}

void TextReader::close() { engine_.reset(); }

bool TextReader::is_open() const { return engine_ != nullptr; }

void TextReader::analyse(const char* text, std::size_t length, std::vector<ReadWord>& words) {
    std::string piece;
    std::size_t last_break = 0;  // bytes of `piece` up to its last clause mark
    auto flush = [&](std::size_t bytes) {
        if (bytes == 0) return;
        analyse_piece(piece.substr(0, bytes), words);
        piece.erase(0, bytes);
        last_break = 0;
    };
    std::size_t i = 0;
    bool after_text = false, after_alnum = false;  // what the character before i is
    while (i < length) {
        const std::size_t size = clean_char_size(text, i, length);
        if (size == 0) {
            flush(piece.size());
            const unsigned char b = static_cast<unsigned char>(text[i]);
            const std::size_t raw = starts_script_pair(b) && i + 1 < length ? 2 : 1;
            words.push_back(raw_symbol(text + i, raw));
            i += raw;
            after_text = after_alnum = false;
            continue;
        }
        const SignReading sign = read_sign(text, i, length, after_text, after_alnum);
        if (sign.laughter) {
            flush(piece.size());
            words.push_back(raw_symbol(text + i, sign.span));
            i += sign.span;
            after_text = after_alnum = false;
            continue;
        }
        const std::string& read = sign.span != 0 ? sign.replacement : std::string(text + i, size);
        if (piece.size() + read.size() > kReadingPieceBytes) flush(last_break != 0 ? last_break : piece.size());
        piece += read;
        if (ends_clause(text + i, size)) last_break = piece.size();
        after_text = is_japanese_char(text, i, length);
        after_alnum = is_alnum_char(text, i, length);
        i += sign.span != 0 ? sign.span : size;
    }
    flush(piece.size());
}

void TextReader::analyse_piece(const std::string& piece, std::vector<ReadWord>& words) {
    if (!engine_ || piece.empty()) return;
    Engine& e = *engine_;
    to_fullwidth(piece, e.converted, e.origin);
    if (e.converted.empty()) return;
    if (!Mecab_analysis(&e.mecab, e.converted.c_str())) {
        Mecab_refresh(&e.mecab);
        return;
    }
    mecab2njd(&e.njd, Mecab_get_feature(&e.mecab), Mecab_get_size(&e.mecab));
    njd_set_pronunciation(&e.njd);
    njd_set_digit(&e.njd);
    njd_set_accent_phrase(&e.njd);
    njd_set_accent_type(&e.njd);
    std::vector<ReadWord> found;
    for (NJDNode* node = e.njd.head; node != nullptr; node = node->next) {
        ReadWord word;
        word.surface = or_empty(NJDNode_get_string(node));
        word.base_form = or_empty(NJDNode_get_orig(node));
        const std::string pos = or_empty(NJDNode_get_pos(node));
        const std::string pron = or_empty(NJDNode_get_pron(node));
        word.symbol = pos == kSymbolPos && !is_spoken_sign(or_empty(NJDNode_get_pos_group1(node)), word.surface);
        // A word the dictionary cannot read comes back as a pause mark.
        if (word.symbol && pron == kTouten && word.surface != kTouten) word.symbol = false;
        else if (!word.symbol) word.pronunciation = pron;
        word.accent_type = NJDNode_get_acc(node);
        word.mora_count = NJDNode_get_mora_size(node);
        word.chain_rule = or_empty(NJDNode_get_chain_rule(node));
        word.joins_next = node->next != nullptr && NJDNode_get_chain_flag(node->next) == 1;
        word.part_of_speech[0] = pos;
        word.part_of_speech[1] = or_empty(NJDNode_get_pos_group1(node));
        word.part_of_speech[2] = or_empty(NJDNode_get_pos_group2(node));
        word.part_of_speech[3] = or_empty(NJDNode_get_pos_group3(node));
        word.conjugation_type = or_empty(NJDNode_get_ctype(node));
        word.conjugation_form = or_empty(NJDNode_get_cform(node));
        found.push_back(std::move(word));
    }
    NJD_refresh(&e.njd);
    Mecab_refresh(&e.mecab);
    restore_unread_words(piece, e.converted, e.origin, found);
    apply_context_readings(found);
    // A word the pruned dictionary lacks is read character by character
    // (a kanji by its own reading, a letter by its name) before it is left
    // unread.
    for (ReadWord& word : found) {
        const std::string& surface = word.surface;
        if (word.symbol || !word.pronunciation.empty() ||
            sjis_char_size(surface.data(), 0, surface.size()) >= surface.size()) {
            words.push_back(std::move(word));
            continue;
        }
        for (std::size_t i = 0; i < surface.size();) {
            const std::size_t size = sjis_char_size(surface.data(), i, surface.size());
            analyse_piece(surface.substr(i, size), words);
            i += size;
        }
    }
}

}  // namespace vokari
