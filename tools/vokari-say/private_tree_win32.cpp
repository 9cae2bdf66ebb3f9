// The private host tree's file-system calls on Windows (narrow names are
// UTF-8 in these programs).  Windows gives folder links only to
// administrators, so the voice's folders are copied.
#include "tools/vokari-say/private_tree.h"

#include <windows.h>

#include <cstdio>

#include "tools/windows/system_message.h"

namespace vokari {
namespace say {
namespace {

// The tree to remove when Ctrl-C or closing the console ends the program.
char g_pending_tree[MAX_PATH * 4];

BOOL WINAPI remove_pending_tree(DWORD) {
    if (g_pending_tree[0] != '\0') remove_tree(g_pending_tree);
    return FALSE;  // the system's own handling ends the program
}

bool plain_for_module(const std::string& path) {
    for (char c : path)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F || c == ',') return false;
    return true;
}

}  // namespace

const bool folders_can_be_linked = false;

// The user's temporary folder when the module can take its path, else the
// machine's shared program-data folder.
std::string temporary_root() {
    char path[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof path, path);
    std::string root = length > 0 && length < sizeof path ? std::string(path, length) : "";
    while (!root.empty() && (root.back() == '\\' || root.back() == '/')) root.pop_back();
    if (!root.empty() && plain_for_module(root)) return root;
    return "C:\\ProgramData";
}

std::string make_unique_folder(const std::string& prefix, std::string& error) {
    const std::string root = temporary_root();
    DWORD last = 0;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "%s%lu-%u", prefix.c_str(), static_cast<unsigned long>(GetCurrentProcessId()),
                      attempt);
        const std::string path = root + "\\" + name;
        if (CreateDirectoryA(path.c_str(), nullptr)) return path;
        last = GetLastError();
        if (last != ERROR_ALREADY_EXISTS) break;
    }
    error = "cannot create a private folder in " + root + ": " + vokari::windows::system_message(last);
    return "";
}

bool make_folder(const std::string& path, std::string& error) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    error = "cannot create " + path + ": " + vokari::windows::system_message(GetLastError());
    return false;
}

void remove_tree(const std::string& root) {
    for (const FolderEntry& entry : folder_entries(root)) {
        const std::string path = root + "\\" + entry.name;
        if (entry.folder) remove_tree(path);
        else DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(root.c_str());
}

void remove_tree_on_interrupt(const std::string& root) {
    std::snprintf(g_pending_tree, sizeof g_pending_tree, "%s", root.c_str());
    if (!root.empty()) SetConsoleCtrlHandler(remove_pending_tree, TRUE);
}

std::vector<FolderEntry> folder_entries(const std::string& dir) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return entries;
}

bool link_folder(const std::string&, const std::string& target, std::string& error) {
    error = "cannot link " + target + ": folders are copied on this system";
    return false;
}

}  // namespace say
}  // namespace vokari
