// Counts the checks of a host_check run and prints every failure.
#pragma once

#include <string>

namespace host_check {

class Report {
public:
    // Records one check named `name`; prints `detail` when it failed.
    bool check(bool ok, const std::string& name, const std::string& detail = std::string());
    int passed() const { return passed_; }
    int failed() const { return failed_; }

private:
    int passed_ = 0;
    int failed_ = 0;
};

// A printable form of a byte string: CR, LF and bytes outside ASCII escaped,
// cut after `limit` bytes.
std::string printable(const std::string& bytes, std::size_t limit = 400);

// Where two byte strings first differ, with both sides around that place.
std::string difference(const std::string& expected, const std::string& actual);

}  // namespace host_check
