// The texts every speech benchmark speaks, kept once so that the module and
// espeak-ng are given the same kana.  They are written here in UTF-8 (what
// espeak-ng reads) and converted to Shift_JIS (what the module reads).
#pragma once

#include <iconv.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace bench {

// A typical line of the main character: 40 characters, kana and punctuation.
inline const char* typical_line_kana() {
    return "ねえ、こんにちは。きょうは、いいおてんきですね。どこかへさんぽにいきましょうか？";
}

// The same kind of line as the reading step meets it: 40 characters of kanji
// words, a number with a counter, kana and punctuation.
inline const char* typical_line_mixed() {
    return "ねえ、今日は良い天気ですね。3時から駅前の公園へ散歩に行きましょうか？";
}

// 365 plain kana, 130 ms each at the default speed: 47.58 s, beyond the
// 47.55 s of the largest output, so its request fills the output to the cap.
inline const char* cap_script_kana() {
    return "むかしむかしあるところにおじいさんとおばあさんがすんでいましたおじいさんはやまへしばかりに"
           "おばあさんはかわへせんたくにいきましたおばあさんがかわでせんたくをしているとかわかみから"
           "おおきなももがどんぶらこどんぶらことながれてきましたおばあさんはそのももをひろいあげていえ"
           "にもちかえりましたおじいさんとおばあさんがももをきろうとするとももがふたつにわれてなかから"
           "げんきなおとこのこがうまれましたふたりはそのこをももたろうとなづけてだいじにそだてましたも"
           "もたろうはすくすくとおおきくなりちからもちのやさしいわかものになりましたあるひももたろうは"
           "おにがしまへおにたいじにいくといいましたおばあさんはきびだんごをつくりももたろうにもたせま"
           "したももたろうはいぬとさるときじをなかまにしておにがしまへむかいましたおにたちはおどろきにげだしました";
}

// The spoken part of the dialogue below, without its tags.
inline const char* dialogue_kana() {
    return "こんにちは、ぼかりです。やあ、げんきそうだね。うん、きょうもいいてんきだね。そうだね、さんぽにいこうか。";
}

// A two-speaker dialogue with level, pitch and sound-effect tags, in UTF-8:
// `prefix` is the module's tag prefix, `effect` the name of a sound effect.
inline std::string dialogue_script(char prefix, const std::string& effect) {
    const std::string p(1, prefix);
    return "\\0" + p + "+[2]こんにちは、ぼかりです。" + "\\1" + p + "<[6]やあ、" + p + "a[" + effect +
           "]げんきそうだね。" + "\\0" + p + "0-[3]" + p + ">[2]うん、きょうもいいてんきだね。" + "\\1" + p + "=" + p +
           "|そうだね、" + p + "-さんぽにいこうか。";
}

// The text in Shift_JIS (code page 932).
inline std::string to_shift_jis(const std::string& utf8) {
    iconv_t converter = iconv_open("CP932", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        std::perror("bench: iconv_open CP932");
        std::abort();
    }
    std::string out(utf8.size() * 2 + 16, '\0');
    char* in_bytes = const_cast<char*>(utf8.data());
    std::size_t in_left = utf8.size();
    char* out_bytes = &out[0];
    std::size_t out_left = out.size();
    if (iconv(converter, &in_bytes, &in_left, &out_bytes, &out_left) == static_cast<std::size_t>(-1)) {
        std::perror("bench: iconv to CP932");
        std::abort();
    }
    iconv_close(converter);
    out.resize(out.size() - out_left);
    return out;
}

// A script-filter request carrying `script_sjis` as its String header.
inline std::string script_request(const std::string& script_sjis) {
    return "EXECUTE MAKOTO/2.0\r\nString: " + script_sjis + "\r\nCharset: Shift_JIS\r\n\r\n";
}

// The version query: answered without touching the script path.
inline std::string version_request() { return "GET Version SAORI/1.0\r\nCharset: Shift_JIS\r\n\r\n"; }

}  // namespace bench
