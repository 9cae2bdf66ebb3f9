// host_check: drives the module through its three exports as the host does,
// natively through libvokari.so and, in the Windows build, through vokari.dll
// under wine.
//   host_check <library> <golden directory>
// Prints every failure and ends with "N passed, N failed".
#include <cstdio>

#include "check_report.h"
#include "contract_checks.h"
#include "golden_cases.h"
#include "host_module.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: host_check <library> <golden directory>\n");
        return 2;
    }
    const std::string library = host_check::path_from_argument(argv[1]);
    const std::string golden = host_check::path_from_argument(argv[2]);
    host_check::Report report;
    host_check::run_contract_checks(library, report);
    host_check::run_golden_cases(library, golden, report);
    std::printf("%d passed, %d failed\n", report.passed(), report.failed());
    std::fflush(stdout);
    return report.failed() == 0 ? 0 : 1;
}
