// A details.txt written by the voice-bank builder, read back for the tests:
// its "key,value" lines by slot ("[n]" starts slot n), comment lines skipped.
#pragma once

#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

namespace voicebank_test {

inline std::map<int, std::map<std::string, double>> read_details(const std::string& path) {
    std::map<int, std::map<std::string, double>> slots;
    std::ifstream in(path);
    std::string line;
    int slot = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line.rfind("//", 0) == 0) continue;
        if (line.front() == '[' && line.back() == ']') {
            slot = std::atoi(line.c_str() + 1);
            continue;
        }
        const std::size_t comma = line.find(',');
        if (comma != std::string::npos) slots[slot][line.substr(0, comma)] = std::atof(line.c_str() + comma + 1);
    }
    return slots;
}

}  // namespace voicebank_test
