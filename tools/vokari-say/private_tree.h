// The file-system calls under the private host tree, one form per system.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace say {

// The folder the tree goes into: one whose path the module can take (plain
// ASCII without the separators it splits at).
std::string temporary_root();

// Creates a fresh folder named `prefix` plus a unique ending below
// temporary_root(); its path, or empty with a message in `error`.
std::string make_unique_folder(const std::string& prefix, std::string& error);

// Creates the folder `path`; false with a message naming it in `error`.
bool make_folder(const std::string& path, std::string& error);

// Removes `root` and everything below it, without following links.
void remove_tree(const std::string& root);

// While set, the tree at `root` is removed when the user ends the program
// (a signal, Ctrl-C); an empty root forgets it.
void remove_tree_on_interrupt(const std::string& root);

struct FolderEntry {
    std::string name;
    bool folder = false;  // a folder (links followed); else a plain file
};

// The folders and plain files in `dir` (links followed); empty when it
// cannot be read.
std::vector<FolderEntry> folder_entries(const std::string& dir);

// Makes `target` stand for the folder `source` without copying it; false
// with a message in `error`.  Where the system gives no such link to every
// user, folders are copied instead (folders_can_be_linked is false).
extern const bool folders_can_be_linked;
bool link_folder(const std::string& source, const std::string& target, std::string& error);

}  // namespace say
}  // namespace vokari
