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
    // Lists the regular files directly inside `folder` (no sub-folders).
    // A folder that cannot be read gives an empty index.
    explicit FolderIndex(const std::string& folder);

    // An index of the files `names` of `folder` as given, without reading
    // any disk: for a folder held in memory.
    FolderIndex(const std::string& folder, const std::vector<std::string>& names);

    // The path of the file named `name`, compared without regard to ASCII
    // letter case; an exact match wins over others.  Empty when none.
    std::string find(const std::string& name) const;

    // As find(), but the file's name alone, without the folder.
    std::string find_name(const std::string& name) const;

    // Names that differ only in letter case ("A.wav" beside "a.wav"), one
    // line per group, for the report.
    std::vector<std::string> ambiguous_names() const;

    bool empty() const { return by_folded_name_.empty(); }

private:
    std::multimap<std::string, std::string> by_folded_name_;  // folded name -> file name
    std::string folder_;
};

// `text` with ASCII letters made lower case; other bytes unchanged.
std::string fold_case(const std::string& text);

}  // namespace voicebank
}  // namespace vokari
