// Every line the module writes to its request log, as one table: the kind of
// line and its text, with "%s" where a field (a path, a number, a date) goes.
// The log's writers name a line of this table and hand over its fields; apart
// from the verbatim copies of requests and responses nothing else reaches the
// log, so the table is the whole list that the guide has to explain.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vokari {

// The kind decides the line's prefix: "// ", "WARNING : ", "ERROR : " or none.
enum class LogKind : unsigned char { Heading, Progress, Warning, Error };

enum class LogLine : unsigned char {
    Banner,
    Start,
    LoadingDictionaries,
    MakingSystemPairs,
    LoadingSamples,
    LoadingDetails,
    LoadingMessageSpeed,
    FileRead,
    FileUnreadable,
    PathTooLong,
    SampleFolder,
    DetailsRead,
    DetailsUnreadable,
    GroupDone,
    MessageSpeed,
    Utf8File,
    RefusedTagPrefix,
    ReadingDictionaryUnusable,
    ProsodyModelUnusable,
    PairSearchEmpty,
    PairContainsSearch,
    PairKeepsMatching,
    RequestHeader,
    ResponseHeader,
    ExecuteTime,
    SpeechCut,
    NoWorkMemory,
    FileOutputFailed,
    Unload,
    End,
    Count
};

struct LogLineFormat {
    LogLine line;
    LogKind kind;
    // Written on its own before the work that the rest of the line reports
    // on, so that a load that never returns leaves in the log where it was.
    // Empty for lines written at once.  The kind's prefix goes before it.
    const char* label;
    const char* text;  // the rest of the line, with its line feeds
};

extern const LogLineFormat kLogLines[static_cast<int>(LogLine::Count)];

// The whole line with `fields` in its "%s" places in order (a missing field
// stays empty, a field is copied as it is).
std::string log_text(LogLine line, std::initializer_list<std::string_view> fields = {});
// The prefix and label alone, with the label's fields.
std::string log_label_text(LogLine line, std::initializer_list<std::string_view> fields = {});
// The rest after the label, with the rest's fields.
std::string log_rest_text(LogLine line, std::initializer_list<std::string_view> fields = {});

}  // namespace vokari
