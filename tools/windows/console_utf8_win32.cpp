// The console shows the program's UTF-8 messages as UTF-8 (Japanese file
// names in them included); set before main runs.
#include <windows.h>

namespace {

struct Utf8Console {
    Utf8Console() { SetConsoleOutputCP(CP_UTF8); }
};
const Utf8Console utf8_console;

}  // namespace
