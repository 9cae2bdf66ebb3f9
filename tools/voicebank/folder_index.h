// Finding files in a folder by name regardless of letter case: recordings
// come from systems where "A.WAV" and "a.wav" are the same file.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace vokari {
namespace voicebank {

class FolderIndex {
public:
    // An index of the file names `names` of one folder.
    explicit FolderIndex(const std::vector<std::string>& names);

    // The file named `name`, compared without regard to ASCII letter case;
    // an exact match wins over others.  Empty when none.
    std::string find_name(const std::string& name) const;

    // Names that differ only in letter case ("A.wav" beside "a.wav"), one
    // line per group, for the report.
    std::vector<std::string> ambiguous_names() const;

private:
    std::multimap<std::string, std::string> by_folded_name_;  // folded name -> file name
};

// `text` with ASCII letters made lower case; other bytes unchanged.
std::string fold_case(const std::string& text);

}  // namespace voicebank
}  // namespace vokari
