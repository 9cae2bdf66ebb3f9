// Lexical confinement of a relative Windows path: the rules Windows applies
// when it resolves a path, checked before the path is ever opened.
#include "synth/confined_path.h"

#include <cctype>
#include <vector>

#include "base/text_routines.h"

namespace vokari {
namespace {

bool is_separator(char c) { return c == '\\' || c == '/'; }

// Splits at '\\' and '/' that are characters of their own (a 0x5C trail byte
// of a two-byte character is not a separator).
std::vector<std::string> split_components(const std::string& path) {
    std::vector<std::string> components(1);
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (sjis_char_size(path.data(), i, path.size()) == 2) {
            components.back() += c;
            components.back() += path[++i];
        } else if (is_separator(c)) {
            components.emplace_back();
        } else {
            components.back() += c;
        }
    }
    return components;
}

// Windows drops trailing dots and spaces of a component, so ". ." or "..."
// may stand for a parent; any such run with two dots counts as one.
bool is_parent_reference(const std::string& component) {
    int dots = 0;
    for (char c : component) {
        if (c == '.') ++dots;
        else if (c != ' ') return false;
    }
    return dots >= 2;
}

bool is_current_reference(const std::string& component) {
    for (char c : component)
        if (c != '.' && c != ' ') return false;
    return true;
}

// A DOS device name, with any extension and trailing blanks: CON, PRN, AUX,
// NUL, COM0-9, LPT0-9, CONIN$, CONOUT$ (letter case ignored).
bool is_device_name(const std::string& component) {
    std::string base = component.substr(0, component.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           std::isdigit(static_cast<unsigned char>(base[3]));
}

}  // namespace

bool stays_inside_directory(const std::string& relative) {
    if (!relative.empty() && is_separator(relative[0])) return false;
    if (relative.find(':') != std::string::npos) return false;
    int depth = 0;
    for (const std::string& component : split_components(relative)) {
        if (is_parent_reference(component)) {
            if (--depth < 0) return false;
            continue;
        }
        if (is_current_reference(component)) continue;  // also the empty one
        if (is_device_name(component)) return false;
        ++depth;
    }
    return true;
}

}  // namespace vokari
