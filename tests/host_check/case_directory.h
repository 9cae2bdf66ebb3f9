// A fresh module directory holding the fixture voice, removed again when the
// object goes.  The module receives it with '/' separators on every system
// (Windows accepts them too), so the paths that the module writes into its log
// read the same on both builds.
#pragma once

#include <string>
#include <vector>

namespace host_check {

class CaseDirectory {
public:
    // Writes the fixture voice with `settings_lines` added to vokari.txt.
    explicit CaseDirectory(const std::vector<std::string>& settings_lines);
    ~CaseDirectory();
    CaseDirectory(const CaseDirectory&) = delete;
    CaseDirectory& operator=(const CaseDirectory&) = delete;

    // The directory as handed to load.
    const std::string& module_path() const { return module_path_; }
    // The bytes of the file `name` in the directory (empty when missing).
    std::string file(const std::string& name) const;
    bool has_file(const std::string& name) const;

private:
    std::string native_;
    std::string module_path_;
};

}  // namespace host_check
