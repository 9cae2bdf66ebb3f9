// Host-contract checks: the module directory rules of load (seen through the
// paths in the log), the response block of request, the version query, the
// security gate, the 500 response, hostile input, and the log file's bytes.
#include "contract_checks.h"

#include <functional>
#include <vector>

#include "case_directory.h"
#include "host_module.h"
#include "support/text_files.h"

namespace host_check {

namespace {

using namespace std::string_literals;

const std::string kSuffix = "\r\nCharset: Shift_JIS\r\n\r\n";
const std::string kMakoto = "MAKOTO/2.0 200 OK\r\nString: ";
const std::string kSaori = "SAORI/1.0 200 OK\r\nResult: ";

// Runs `body` with a freshly loaded library and a fixture voice with
// `settings_lines`; the module is unloaded and the library released after.
void with_module(const std::string& library_path, Report& report, const std::string& name,
                 const std::vector<std::string>& settings_lines,
                 const std::function<void(HostModule&, const CaseDirectory&)>& body) {
    HostModule module;
    if (!report.check(module.open(library_path), name, module.error())) return;
    CaseDirectory directory(settings_lines);
    body(module, directory);
    module.close();
}

void expect_bytes(Report& report, const std::string& name, const std::string& expected, const std::string& actual) {
    report.check(expected == actual, name, difference(expected, actual));
}

bool well_formed(const std::string& response) {
    const bool makoto = response.compare(0, kMakoto.size(), kMakoto) == 0;
    const bool saori = response.compare(0, kSaori.size(), kSaori) == 0;
    return (makoto || saori) && response.size() >= kSuffix.size() + kSaori.size() &&
           response.compare(response.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
}

void check_directory_rules(const std::string& library, Report& report) {
    // The missing dictionary's path line shows module_dir as load stored it.
    const std::vector<std::string> settings = {"log, vokari.log", "voice.translate.dic, missing.dic"};
    struct Case {
        const char* name;
        std::string suffix;         // appended to the directory in the block
        long extra_length;          // counted bytes beyond the directory
        std::string stored_suffix;  // what module_dir ends in after load
    };
    const Case cases[] = {
        {"load drops the trailing backslash", "\\", 1, ""},
        {"load drops only one of two backslashes", "\\\\", 2, "\\"},
        {"load keeps a backslash followed by a counted NUL", "\\\0"s, 2, "\\"},
        {"load stops at a NUL in the block", "\0junk\\"s, 6, ""},
    };
    for (const Case& c : cases) {
        with_module(library, report, c.name, settings, [&](HostModule& module, const CaseDirectory& directory) {
            const std::string block = directory.module_path() + c.suffix;
            report.check(module.load(block, static_cast<long>(directory.module_path().size()) + c.extra_length) == 1,
                         std::string(c.name) + ": load returns 1");
            module.unload();
            const std::string log = directory.file("vokari.log");
            const std::string line = directory.module_path() + c.stored_suffix + "\\missing.dic...Can't open file.\r\n";
            report.check(log.find(line) != std::string::npos, c.name,
                         "expected the line " + printable(line) + " in the log:\n" + printable(log, 600));
        });
    }
}

void check_responses(const std::string& library, Report& report) {
    with_module(library, report, "responses", {}, [&](HostModule& module, const CaseDirectory& directory) {
        report.check(module.load(directory.module_path()) == 1, "load returns 1");
        const Response version = module.request("GET Version SAORI/1.0\r\nCharset: Shift_JIS\r\n\r\n");
        report.check(version.has_block && version.length == 40, "version query answers 40 bytes",
                     "length " + std::to_string(version.length));
        expect_bytes(report, "version query bytes", "SAORI/1.0 200 OK" + kSuffix, version.bytes);
        expect_bytes(report, "empty MAKOTO script", kMakoto + kSuffix,
                     module.request("NOTIFY MAKOTO/2.0\r\nString:\r\n\r\n").bytes);
        expect_bytes(report, "empty SAORI script", kSaori + kSuffix,
                     module.request("EXECUTE SAORI/1.0\r\nArgument0:\r\n\r\n").bytes);
        expect_bytes(report, "SAORI alone is MAKOTO", kMakoto + kSuffix, module.request("SAORI/1.0\r\n\r\n").bytes);
        expect_bytes(report, "two spaces make no version query", kSaori + kSuffix,
                     module.request("GET  Version SAORI/1.0\r\n\r\n").bytes);
        const Response refused = module.request("X MAKOTO/2.0\r\n\r\n", -1);
        expect_bytes(report, "negative length gets the 500 response", "MAKOTO/2.0 500 Internal Server Error" + kSuffix,
                     refused.bytes);
        report.check(refused.length == 60, "500 response is 60 bytes");
        report.check(module.unload() == 1, "unload returns 1");
    });
}

void check_security_gate(const std::string& library, Report& report) {
    with_module(
        library, report, "security gate", {"security.level, high"},
        [&](HostModule& module, const CaseDirectory& directory) {
            module.load(directory.module_path());
            const std::string script = "\\0@v[50]\x82\xa0\\e";
            expect_bytes(
                report, "refused version query echoes Argument0", kSaori + script + kSuffix,
                module.request("GET Version SAORI/1.0\r\nArgument0: " + script + "\r\nSecurityLevel: External\r\n\r\n")
                    .bytes);
            expect_bytes(report, "local version query is answered", "SAORI/1.0 200 OK" + kSuffix,
                         module.request("GET Version SAORI/1.0\r\nSecurityLevel: local\r\n\r\n").bytes);
            module.unload();
        });
}

void check_hostile_input(const std::string& library, Report& report) {
    with_module(library, report, "hostile input", {}, [&](HostModule& module, const CaseDirectory& directory) {
        module.load(directory.module_path());
        std::vector<std::pair<std::string, std::string>> inputs = {
            {"empty request", ""},
            {"no line feed", "GET Version SAORI/1.0"},
            {"NUL bytes", "X SAORI/1.0\r\n\0Argument0: x\r\n\0\r\n"s},
            {"invalid Shift_JIS", "X MAKOTO/2.0\r\nString: \x82\r\n\xff\xfe\x80\x82\\\x81\r\n\r\n"},
            {"16 MB without a line feed", std::string(16 << 20, 'a')},
            {"1 MB script", "X MAKOTO/2.0\r\nString: " + std::string(1 << 20, '\x82') + "\r\n\r\n"},
        };
        std::string many = "X MAKOTO/2.0\r\n";
        for (int i = 0; i < 10000; ++i) many += "H" + std::to_string(i) + ": value\r\n";
        inputs.push_back({"10,000 header lines", many + "\r\n"});
        for (const auto& input : inputs) {
            const Response response = module.request(input.second);
            report.check(response.has_block && static_cast<std::size_t>(response.length) == response.bytes.size() &&
                             well_formed(response.bytes),
                         input.first + " gets a well-formed response", printable(response.bytes, 200));
        }
        module.unload();
    });
}

void check_log_bytes(const std::string& library, Report& report) {
    with_module(
        library, report, "log bytes", {"log, vokari.log"}, [&](HostModule& module, const CaseDirectory& directory) {
            module.load(directory.module_path());
            module.request("X MAKOTO/2.0\r\nString: 100%s %d\r\n\r\n");
            module.unload();
            const std::string log = fixture::normalised_log(directory.file("vokari.log"), directory.module_path());
            const std::string banner = "// VOKARIng request log\r\n// start : MM/DD/YY HH:MM:SS\r\n\r\n";
            report.check(log.compare(0, banner.size(), banner) == 0, "log opens with the banner", printable(log, 200));
            report.check(log.find("// request header\r\nX MAKOTO/2.0\r\nString: 100%s %d\r\n\r\n// response header\r\n"
                                  "// [execute time = Nms]\r\nMAKOTO/2.0 200 OK\r\n") != std::string::npos,
                         "log holds the request and response blocks", printable(log, 2000));
            const std::string end = "// unload\r\n// end : MM/DD/YY HH:MM:SS\r\n\r\n";
            report.check(log.size() >= end.size() && log.compare(log.size() - end.size(), end.size(), end) == 0,
                         "log closes with the end line");
            bool bare_line_feed = false;
            for (std::size_t i = 0; i < log.size(); ++i)
                if (log[i] == '\n' && (i == 0 || log[i - 1] != '\r')) bare_line_feed = true;
            report.check(!bare_line_feed && log.find("\r\r") == std::string::npos, "log lines end in one CR LF");
        });
    with_module(library, report, "no log", {}, [&](HostModule& module, const CaseDirectory& directory) {
        module.load(directory.module_path());
        module.request("X MAKOTO/2.0\r\nString:\r\n\r\n");
        module.unload();
        report.check(!directory.has_file("vokari.log"), "no log key writes no log");
    });
}

}  // namespace

void run_contract_checks(const std::string& library_path, Report& report) {
    check_directory_rules(library_path, report);
    check_responses(library_path, report);
    check_security_gate(library_path, report);
    check_hostile_input(library_path, report);
    check_log_bytes(library_path, report);
}

}  // namespace host_check
