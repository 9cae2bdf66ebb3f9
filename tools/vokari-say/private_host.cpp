// Building, and always removing, the private host tree.
#include "tools/vokari-say/private_host.h"

#ifdef _WIN32
#include <windows.h>

#include "tools/windows/system_message.h"
#else
#include <ftw.h>
#include <signal.h>
#include <stdlib.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

#include "tools/vokari-say/script_input.h"
#include "vokari_settings_text.h"

namespace vokari {
namespace say {
namespace fs = std::filesystem;
namespace {

// Where the character folder sits below the host's base, and the names of the
// files vokari-say adds to the module folder.
const char kModuleSubdir[] = "/ghost/vokari-say/ghost/master";
const char kBeforeDictionary[] = "vokari-say-hide.dic";
const char kAfterDictionary[] = "vokari-say-show.dic";
// The module copes with module folders of up to 1024 bytes; the longest file
// name below it must still fit its path buffers.
constexpr size_t kLongestModuleDir = 900;
// Folders deeper than this in the voice folder are not copied (this also ends
// a loop of symbolic links).
constexpr int kDeepestFolder = 8;

// The tree to remove when the user ends the program; empty when none.  A
// fixed buffer, since a signal handler must not allocate.
char g_pending_tree[4096];

#ifdef _WIN32
// Windows gives folder links only to administrators, so folders are copied.
constexpr bool kFoldersCanBeLinked = false;
const char kFallbackRoot[] = "C:\\ProgramData";

BOOL WINAPI remove_pending_tree(DWORD) {
    std::error_code ignored;
    if (g_pending_tree[0] != '\0') fs::remove_all(fs::u8path(g_pending_tree), ignored);
    return FALSE;  // the system's own handling ends the program
}
#else
constexpr bool kFoldersCanBeLinked = true;
const char kFallbackRoot[] = "/tmp";

int remove_entry(const char* path, const struct stat*, int, struct FTW*) {
    ::remove(path);
    return 0;
}

void remove_pending_and_reraise(int signal_number) {
    if (g_pending_tree[0] != '\0') ::nftw(g_pending_tree, remove_entry, 16, FTW_DEPTH | FTW_PHYS);
    ::signal(signal_number, SIG_DFL);
    ::raise(signal_number);
}
#endif

// While set, the tree at `root` is removed when the user ends the program (a
// signal, Ctrl-C, closing the console); an empty root forgets it.
void remove_tree_on_interrupt(const std::string& root) {
    std::snprintf(g_pending_tree, sizeof g_pending_tree, "%s", root.c_str());
    if (root.empty()) return;
#ifdef _WIN32
    SetConsoleCtrlHandler(remove_pending_tree, TRUE);
#else
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) ::signal(signal_number, remove_pending_and_reraise);
#endif
}

// The system's temporary folder when the module can take its path (plain
// ASCII without the separators it splits at), else a fixed one.
std::string temporary_root() {
    std::error_code failure;
    std::string root = fs::temp_directory_path(failure).u8string();
    while (root.size() > 1 && (root.back() == '\\' || root.back() == '/')) root.pop_back();
    bool plain = !failure && !root.empty();
#ifndef _WIN32
    plain = plain && root[0] == '/' && root.find('\\') == std::string::npos;
#endif
    for (char c : root)
        plain = plain && static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F && c != ',';
    return plain ? root : kFallbackRoot;
}

// A fresh folder for the tree below temporary_root(), "" with a message in
// `error` when none can be made.
std::string make_unique_folder(std::string& error) {
    const std::string root = temporary_root();
#ifdef _WIN32
    DWORD last = 0;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string path =
            root + "\\vokari-say-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt);
        if (CreateDirectoryA(path.c_str(), nullptr)) return path;
        last = GetLastError();
        if (last != ERROR_ALREADY_EXISTS) break;
    }
    error = "cannot create a private folder in " + root + ": " + vokari::windows::system_message(last);
    return "";
#else
    std::string pattern = root + "/vokari-say-XXXXXX";
    if (::mkdtemp(&pattern[0]) != nullptr) return pattern;
    error = "cannot create a private folder in " + root + ": " + std::strerror(errno);
    return "";
#endif
}

bool make_folder(const std::string& path, std::string& error) {
    std::error_code failure;
    if (fs::create_directory(fs::u8path(path), failure)) return true;
    error = "cannot create " + path + ": " + (failure ? failure.message() : std::strerror(EEXIST));
    return false;
}

bool write_bytes(const std::string& path, const std::string& bytes, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file != nullptr) ok = std::fclose(file) == 0 && ok;
    if (!ok) error = "cannot write " + path + ": " + std::strerror(errno);
    return ok;
}

bool copy_bytes(const std::string& from, const std::string& to, std::string& error) {
    const ReadResult source = read_input(from);
    // A file that cannot be read is one the module could not read either.
    if (!source.ok) return true;
    return write_bytes(to, source.bytes, error);
}

// Copies the folders and plain files of `from` into the existing folder `to`,
// following symbolic links, leaving out the top-level names in `skip`.  With
// `link_folders`, the folders of `from` are linked instead of copied where the
// system lets every user link: the module only reads them, and linking them
// spares the copy of every sample.
bool copy_folder(const std::string& from, const std::string& to, const std::set<std::string>& skip, int depth,
                 bool link_folders, std::string& error) {
    std::error_code failure;
    for (fs::directory_iterator it(fs::u8path(from), failure), end; !failure && it != end; it.increment(failure)) {
        const std::string name = it->path().filename().u8string();
        std::error_code unreadable;  // an entry the module could not read either
        const bool folder = fs::is_directory(it->path(), unreadable);
        if (skip.count(name) != 0 || (!folder && !fs::is_regular_file(it->path(), unreadable))) continue;
        const std::string source = from + "/" + name, target = to + "/" + name;
        bool ok = true;
        if (folder && link_folders && kFoldersCanBeLinked) {
            fs::create_directory_symlink(fs::u8path(source), fs::u8path(target), unreadable);
            ok = !unreadable;
            if (!ok) error = "cannot create " + target + ": " + unreadable.message();
        } else if (folder) {
            if (depth >= kDeepestFolder) continue;
            ok = make_folder(target, error) && copy_folder(source, target, {}, depth + 1, false, error);
        } else {
            ok = copy_bytes(source, target, error);
        }
        if (!ok) return false;
    }
    return true;
}

// A module-relative file name of the settings (backslashes or slashes) as a
// path below `dir`.
std::string path_below(const std::string& dir, std::string relative) {
    for (char& c : relative)
        if (c == '\\') c = '/';
    return dir + "/" + relative;
}

// A byte that the dictionaries can never match: one that occurs in none of
// `texts`.  Control bytes are single-byte characters in Shift_JIS and are never
// the second byte of one, and none of those below is a blank, a line end or
// the end-of-file byte 0x1A of text files.  '\0' when every one is taken.
char free_placeholder(const std::vector<std::string>& texts) {
    for (int byte = 0x01; byte <= 0x1F; ++byte) {
        if (byte == '\t' || byte == '\n' || byte == '\r' || byte == 0x1A) continue;
        bool used = false;
        for (const std::string& text : texts) used = used || text.find(static_cast<char>(byte)) != std::string::npos;
        if (!used) return static_cast<char>(byte);
    }
    return '\0';
}

}  // namespace

PrivateHost::~PrivateHost() { remove(); }

bool PrivateHost::create(const PrivateHostPlan& plan, std::string& error) {
    base_ = make_unique_folder(error);
    if (base_.empty()) return false;
    remove_tree_on_interrupt(base_);
    module_dir_ = base_ + kModuleSubdir;
    if (module_dir_.size() > kLongestModuleDir) {
        error = "the temporary folder's path is too long for the module: " + base_;
        remove();
        return false;
    }
    for (const char* folder : {"/data", "/data/profile", "/profile", "/ghost", "/ghost/vokari-say",
                               "/ghost/vokari-say/ghost", "/ghost/vokari-say/ghost/master"}) {
        if (!make_folder(base_ + folder, error)) {
            remove();
            return false;
        }
    }

    const std::string settings = read_settings_text(plan.voice_dir.c_str());
    // The voice's own log stays out of the copy: vokari-say keeps a log of its own.
    std::set<std::string> skip = {"vokari.txt", kLogName, kSoundFileName, kBeforeDictionary, kAfterDictionary};
    for (const std::string& log : setting_values(settings, "log")) skip.insert(log);

    std::vector<std::string> dictionaries;
    for (const std::string& name : setting_values(settings, "voice.translate.dic")) {
        const ReadResult dictionary = read_input(path_below(plan.voice_dir, name));
        if (dictionary.ok) dictionaries.push_back(dictionary.bytes);
    }
    // The request without vokari-say's own tag: what the user sends.
    std::string users_request = plan.request_text;
    const size_t own_tag = plan.sound_tag.empty() ? std::string::npos : users_request.find(plan.sound_tag);
    if (own_tag != std::string::npos) users_request.erase(own_tag, plan.sound_tag.size());

    // The module writes into a subfolder only when it trims sample files or
    // when a sound-file tag of the script or of a dictionary names a file
    // there; only then are the folders copied rather than linked.
    bool module_writes_below =
        users_request.find(std::string(1, tag_prefix_setting(settings)) + "wavout") != std::string::npos;
    for (const std::string& value : setting_values(settings, "delete.excess.hv1"))
        module_writes_below = module_writes_below || value == "on";
    for (const std::string& dictionary : dictionaries)
        module_writes_below = module_writes_below || dictionary.find("wavout") != std::string::npos;

    std::vector<std::string> texts = dictionaries;
    texts.insert(texts.end(), {settings, plan.sound_tag, plan.request_text});
    const char placeholder = free_placeholder(texts);
    if (!plan.sound_tag.empty() && placeholder == '\0') {
        error = "the voice's dictionaries use every byte that could stand in for vokari-say's sound-file tag";
        remove();
        return false;
    }

    // The module reads no settings past a byte 0x1A, so the added lines go
    // before it; the voice's lines end with a line feed before them.
    std::string own_settings = settings.substr(0, settings.find('\x1A'));
    if (!own_settings.empty() && own_settings.back() != '\n') own_settings += "\r\n";
    const std::string speed = "messagespeed," + std::to_string(plan.message_speed_ms) + "\r\n";
    // A tag that a dictionary line cannot hold (a prefix that is a comma, a
    // double quote or a blank) is sent unprotected.
    std::string hide, show;
    if (!plan.sound_tag.empty() && plan.sound_tag.find_first_of(",\" \t") == std::string::npos) {
        hide = plan.sound_tag + "," + placeholder + "\r\n";
        show = std::string(1, placeholder) + "," + plan.sound_tag + "\r\n";
        // A later sound-file tag replaces vokari-say's, and with it its silence.
        const std::string prefix(1, plan.sound_tag[0]);
        if (plan.silent) show += prefix + "wavout[," + prefix + "wavouts[\r\n";
    }
    const bool ok = copy_folder(plan.voice_dir, module_dir_, skip, 0, !module_writes_below, error) &&
                    write_bytes(base_ + "/data/profile/app.dat", speed, error) &&
                    write_bytes(base_ + "/profile/mainform.txt", speed, error) &&
                    write_bytes(module_file(kBeforeDictionary), hide, error) &&
                    write_bytes(module_file(kAfterDictionary), show, error) &&
                    write_bytes(module_file("vokari.txt"),
                                std::string("voice.translate.dic,") + kBeforeDictionary + "\r\n" + own_settings +
                                    "voice.translate.dic," + kAfterDictionary + "\r\nlog," + kLogName + "\r\n",
                                error);
    if (!ok) {
        error = "cannot prepare the private copy of the voice: " + error;
        remove();
    }
    return ok;
}

std::string PrivateHost::module_dir_for_load() const {
    std::string windows = module_dir_;
    for (char& c : windows)
        if (c == '/') c = '\\';
    return windows;
}

std::string PrivateHost::module_file(const std::string& name) const { return module_dir_ + "/" + name; }

void PrivateHost::remove() {
    if (base_.empty()) return;
    std::error_code ignored;
    fs::remove_all(fs::u8path(base_), ignored);
    base_.clear();
    module_dir_.clear();
    remove_tree_on_interrupt("");
}

}  // namespace say
}  // namespace vokari
