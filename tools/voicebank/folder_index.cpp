// A folder's file names looked up regardless of letter case.
#include "folder_index.h"

namespace vokari {
namespace voicebank {

std::string fold_case(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

FolderIndex::FolderIndex(const std::vector<std::string>& names) {
    for (const std::string& name : names) by_folded_name_.emplace(fold_case(name), name);
}

std::string FolderIndex::find_name(const std::string& name) const {
    const auto range = by_folded_name_.equal_range(fold_case(name));
    if (range.first == range.second) return {};
    std::string chosen = range.first->second;
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == name) chosen = it->second;
    }
    return chosen;
}

std::vector<std::string> FolderIndex::ambiguous_names() const {
    std::vector<std::string> groups;
    for (auto it = by_folded_name_.begin(); it != by_folded_name_.end();) {
        const auto range = by_folded_name_.equal_range(it->first);
        if (std::next(range.first) != range.second) {
            std::string group;
            for (auto member = range.first; member != range.second; ++member) {
                group += (group.empty() ? "" : ", ") + member->second;
            }
            groups.push_back(group);
        }
        it = range.second;
    }
    return groups;
}

}  // namespace voicebank
}  // namespace vokari
