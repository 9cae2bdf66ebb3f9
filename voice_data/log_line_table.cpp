// The request log's lines.  The Japanese texts are Shift_JIS, as the log is.
#include "voice_data/log_line_table.h"

namespace vokari {

constexpr LogLineFormat kLogLines[static_cast<int>(LogLine::Count)] = {
    {LogLine::Banner, LogKind::Heading, "", "VOKARIng request log\n"},
    {LogLine::Start, LogKind::Heading, "", "start : %s %s\n\n"},
    {LogLine::LoadingDictionaries, LogKind::Heading, "", "Now loading translate data.\n"},
    {LogLine::MakingSystemPairs, LogKind::Heading, "", "Now making system translate data.\n"},
    {LogLine::LoadingSamples, LogKind::Heading, "", "Now loading CV-shaped phoneme data.\n"},
    {LogLine::LoadingDetails, LogKind::Heading, "", "Now loading phoneme's data details.\n"},
    {LogLine::LoadingMessageSpeed, LogKind::Heading, "", "Now loading script message speed.\n"},
    {LogLine::FileRead, LogKind::Progress, "%s...", "Done.\n"},
    {LogLine::FileUnreadable, LogKind::Progress, "%s...", "Can't open file.\n"},
    {LogLine::PathTooLong, LogKind::Progress, "%s...", "Path too long.\n"},
    // One mark per slot: 'o' loaded, '-' none.
    {LogLine::SampleFolder, LogKind::Progress, "reading data from directory %s : ", "%s Done.\n"},
    {LogLine::DetailsRead, LogKind::Progress, "reading details from directory %s : ", "Done.\n"},
    {LogLine::DetailsUnreadable, LogKind::Progress, "reading details from directory %s : ", "Can't open file.\n"},
    {LogLine::GroupDone, LogKind::Progress, "", "Done.\n\n"},
    {LogLine::MessageSpeed, LogKind::Progress, "", "Done. %s[ms]\n\n"},
    {LogLine::Utf8File, LogKind::Warning, "",
     "%s reads as UTF-8 text, but the module reads Shift_JIS. Save it as Shift_JIS.\n\n"},
    {LogLine::RefusedTagPrefix, LogKind::Warning, "",
     "tag.prefix %s starts a two-byte character and would split characters; %s is used instead.\n\n"},
    {LogLine::ReadingDictionaryUnusable, LogKind::Warning, "", "voice.reading.dic %s: %s; read without it.\n\n"},
    {LogLine::ProsodyModelUnusable, LogKind::Warning, "", "voice.prosody.model %s: %s; spoken without it.\n\n"},
    {LogLine::PairSearchEmpty, LogKind::Warning, "",
     "translate pair \"%s\" -> \"%s\" skipped: its search text is empty.\n\n"},
    {LogLine::PairContainsSearch, LogKind::Warning, "",
     "translate pair \"%s\" -> \"%s\" skipped: its replacement contains its search text.\n\n"},
    {LogLine::PairKeepsMatching, LogKind::Warning, "",
     "translate pair \"%s\" keeps matching its own replacements; stopped.\n\n"},
    {LogLine::RequestHeader, LogKind::Heading, "", "request header\n"},
    {LogLine::ResponseHeader, LogKind::Heading, "", "response header\n"},
    {LogLine::ExecuteTime, LogKind::Heading, "", "[execute time = %sms]\n"},
    // <the work memory asked for exceeds the system limit; limiting it>
    {LogLine::SpeechCut, LogKind::Warning, "",
     "\x83V\x83X\x83"
     "e\x83\x80\x83\x8A\x83~\x83"
     "b\x83g\x92l\x82\xF0\x89z\x82\xA6\x82\xE9"
     "\x83T\x83"
     "C\x83Y\x82\xCC\x83\x8F\x81[\x83N\x83\x81\x83\x82\x83\x8A\x82\xF0\x8Am\x95\xDB\x82\xB5"
     "\x82\xE6\x82\xA4\x82\xC6\x82\xB5\x82\xDC\x82\xB5\x82\xBD. \x90\xA7\x8C\xC0\x82\xB5\x82\xDC\x82\xB7.\n\n"},
    // <allocating the work memory failed; cannot speak>
    {LogLine::NoWorkMemory, LogKind::Error, "",
     "\x83\x8F\x81[\x83N\x83\x81\x83\x82\x83\x8A\x82\xCC\x8Am\x95\xDB\x82\xC9\x8E\xB8\x94s\x82\xB5"
     "\x82\xDC\x82\xB5\x82\xBD. \x94\xAD\x90\xBA\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1.\n\n"},
    // <writing the file failed>
    {LogLine::FileOutputFailed, LogKind::Error, "",
     "\x83t\x83@\x83"
     "C\x83\x8B\x8Fo\x97\xCD\x8E\xB8\x94s.\n\n"},
    {LogLine::Unload, LogKind::Heading, "", "unload\n"},
    {LogLine::End, LogKind::Heading, "", "end : %s %s\n\n"},
};

namespace {

constexpr bool table_in_enum_order() {
    for (int i = 0; i < static_cast<int>(LogLine::Count); ++i)
        if (static_cast<int>(kLogLines[i].line) != i) return false;
    return true;
}
static_assert(table_in_enum_order(), "kLogLines must list the lines in the order of LogLine");

const char* kind_prefix(LogKind kind) {
    switch (kind) {
    case LogKind::Heading: return "// ";
    case LogKind::Warning: return "WARNING : ";
    case LogKind::Error: return "ERROR : ";
    case LogKind::Progress: break;
    }
    return "";
}

// Appends `format` with its "%s" places taken by `fields` from `next` on.
void fill(std::string& out, const char* format, std::initializer_list<std::string_view> fields, std::size_t& next) {
    for (const char* at = format; *at != '\0'; ++at) {
        if (at[0] == '%' && at[1] == 's') {
            if (next < fields.size()) out.append(fields.begin()[next]);
            ++next;
            ++at;
        } else {
            out += *at;
        }
    }
}

const LogLineFormat& format_of(LogLine line) { return kLogLines[static_cast<int>(line)]; }

}  // namespace

std::string log_label_text(LogLine line, std::initializer_list<std::string_view> fields) {
    const LogLineFormat& format = format_of(line);
    std::string text = kind_prefix(format.kind);
    std::size_t next = 0;
    fill(text, format.label, fields, next);
    return text;
}

std::string log_rest_text(LogLine line, std::initializer_list<std::string_view> fields) {
    std::string text;
    std::size_t next = 0;
    fill(text, format_of(line).text, fields, next);
    return text;
}

std::string log_text(LogLine line, std::initializer_list<std::string_view> fields) {
    const LogLineFormat& format = format_of(line);
    std::string text = kind_prefix(format.kind);
    std::size_t next = 0;
    fill(text, format.label, fields, next);
    fill(text, format.text, fields, next);
    return text;
}

}  // namespace vokari
