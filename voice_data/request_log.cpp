// The request log: a text file of one loaded life at settings.log_path, opened
// and closed for every write so that it is complete on disk after each call.
// Text mode turns every line feed into CR LF in the file.
#include <cstdio>
#include <cstring>

#include "voice_data/request_log.h"
#include "platform/platform.h"
#include "voice_data/settings.h"

namespace vokari {

// True when a log path is configured.
bool log_is_on(const Settings& settings) { return settings.log_path[0] != '\0'; }

// Creates or empties the log and writes the banner with the start date and
// time.  Does nothing when logging is off or the file cannot be created.
void log_start(const Settings& settings) {
    if (!log_is_on(settings)) return;
    std::FILE* file = platform::open_file(settings.log_path, "wt");
    if (file == nullptr) return;
    char date[9];
    char time[9];
    platform::local_date_time(date, time);
    std::fputs(log_text(LogLine::Banner).c_str(), file);
    std::fputs(log_text(LogLine::Start, {date, time}).c_str(), file);
    std::fclose(file);
}

// Appends the NUL-terminated `text` without its carriage returns, byte for
// byte (a '%' is not a format).  The text is written in the runs between its
// carriage returns, so no copy has to be made.  A log that cannot be opened
// drops the text; the next call tries again.
void log_write(const Settings& settings, const char* text) {
    if (!log_is_on(settings)) return;
    std::FILE* file = platform::open_file(settings.log_path, "a+");
    if (file == nullptr) return;
    while (*text != '\0') {
        const std::size_t run = std::strcspn(text, "\r");
        std::fwrite(text, 1, run, file);
        text += run;
        if (*text == '\r') ++text;
    }
    std::fclose(file);
}

// Appends the unload line and the end date and time.
void log_end(const Settings& settings) {
    char date[9];
    char time[9];
    platform::local_date_time(date, time);
    log_write(settings, (log_text(LogLine::Unload) + log_text(LogLine::End, {date, time})).c_str());
}

void log_line(const Settings& settings, LogLine line, std::initializer_list<std::string_view> fields) {
    if (log_is_on(settings)) log_write(settings, log_text(line, fields).c_str());
}

void log_label(const Settings& settings, LogLine line, std::initializer_list<std::string_view> fields) {
    if (log_is_on(settings)) log_write(settings, log_label_text(line, fields).c_str());
}

void log_rest(const Settings& settings, LogLine line, std::initializer_list<std::string_view> fields) {
    if (log_is_on(settings)) log_write(settings, log_rest_text(line, fields).c_str());
}

}  // namespace vokari
