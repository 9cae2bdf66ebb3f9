// Matching of table entries against a script, and their measurement.
#include "translate/string_table.h"

#include <cstring>

namespace vokari {

// Entries are a few bytes long: compared inline, first byte first.
bool StringTable::begins(int index, const char* text, std::int32_t pos, std::int32_t length) const {
    const std::int32_t size = lengths[index];
    if (size <= 0 || pos < 0 || size > length - pos) return false;
    const char* entry = strings[index];
    for (std::int32_t k = 0; k < size; ++k)
        if (text[pos + k] != entry[k]) return false;
    return true;
}

int StringTable::match(const char* text, std::int32_t pos, std::int32_t length, int first, int last) const {
    for (int i = first; i < last; ++i)
        if (begins(i, text, pos, length)) return i;
    return -1;
}

void StringTable::measure() const {
    for (int i = 0; i < count; ++i) lengths[i] = static_cast<std::int32_t>(std::strlen(strings[i]));
}

}  // namespace vokari
