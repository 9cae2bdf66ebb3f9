// Checks that the test binary links against the module; real tests live in the
// files beside this one.
#include <gtest/gtest.h>

#include "host/entry_points.h"

TEST(Build, ModuleDirectoryStartsEmpty) { EXPECT_EQ(vokari::module_dir[0], '\0'); }
