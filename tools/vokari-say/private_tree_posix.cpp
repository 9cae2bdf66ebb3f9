// The private host tree's file-system calls on Linux.
#include "tools/vokari-say/private_tree.h"

#include <dirent.h>
#include <ftw.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vokari {
namespace say {
namespace {

// The tree to remove when a signal ends the program; empty when none.
char g_pending_tree[4096];

int remove_entry(const char* path, const struct stat*, int, struct FTW*) {
    ::remove(path);
    return 0;
}

void remove_pending_and_reraise(int signal_number) {
    if (g_pending_tree[0] != '\0') ::nftw(g_pending_tree, remove_entry, 16, FTW_DEPTH | FTW_PHYS);
    ::signal(signal_number, SIG_DFL);
    ::raise(signal_number);
}

}  // namespace

const bool folders_can_be_linked = true;

// $TMPDIR when the module can take its path, else /tmp.
std::string temporary_root() {
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir == nullptr || tmpdir[0] != '/') return "/tmp";
    for (const char* c = tmpdir; *c != '\0'; ++c)
        if (static_cast<unsigned char>(*c) < 0x20 || static_cast<unsigned char>(*c) >= 0x7F || *c == '\\' || *c == ',')
            return "/tmp";
    return tmpdir;
}

std::string make_unique_folder(const std::string& prefix, std::string& error) {
    std::string pattern = temporary_root() + "/" + prefix + "XXXXXX";
    if (::mkdtemp(&pattern[0]) == nullptr) {
        error = "cannot create a private folder in " + temporary_root() + ": " + std::strerror(errno);
        return "";
    }
    return pattern;
}

bool make_folder(const std::string& path, std::string& error) {
    if (::mkdir(path.c_str(), 0700) == 0) return true;
    error = "cannot create " + path + ": " + std::strerror(errno);
    return false;
}

void remove_tree(const std::string& root) { ::nftw(root.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS); }

void remove_tree_on_interrupt(const std::string& root) {
    std::snprintf(g_pending_tree, sizeof g_pending_tree, "%s", root.c_str());
    if (root.empty()) return;
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) ::signal(signal_number, remove_pending_and_reraise);
}

std::vector<FolderEntry> folder_entries(const std::string& dir) {
    std::vector<FolderEntry> entries;
    DIR* handle = ::opendir(dir.c_str());
    if (handle == nullptr) return entries;
    while (dirent* entry = ::readdir(handle)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat info;
        if (::stat((dir + "/" + name).c_str(), &info) != 0) continue;
        if (S_ISDIR(info.st_mode)) entries.push_back({name, true});
        else if (S_ISREG(info.st_mode)) entries.push_back({name, false});
    }
    ::closedir(handle);
    return entries;
}

bool link_folder(const std::string& source, const std::string& target, std::string& error) {
    if (::symlink(source.c_str(), target.c_str()) == 0) return true;
    error = "cannot create " + target + ": " + std::strerror(errno);
    return false;
}

}  // namespace say
}  // namespace vokari
