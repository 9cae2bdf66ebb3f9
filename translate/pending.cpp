// Temporary placeholders so that the tree links while this area is being
// written.  Delete each function as its real implementation lands.
#include "translate/scanner.h"
#include "translate/timeline.h"

namespace vokari {
Timeline timeline;
void Timeline::clear() {}
double pitch_step_size = 1.0;
bool omit_text = false;
std::int32_t ms_to_samples(std::int64_t ms) { return static_cast<std::int32_t>(ms * 22050 / 1000 + 1000); }
std::int32_t scan_script(const std::string&) { return 0; }
void insert_waits(std::string&, std::int32_t) {}
int extract_tag_argument(const char*, int, int, std::string&) { return -1; }
void compute_table_lengths() {}
}  // namespace vokari
