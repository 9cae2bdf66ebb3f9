// Everyday verbs from the EDICT file bring the forms a script writes them in.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tools/readings/common_words.h"

namespace {

TEST(CommonWords, AFiveRowVerbBringsItsForms) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("vokari_edict_" + std::to_string(::getpid()));
    std::ofstream(file, std::ios::binary) << "\xCD\xB7\xA4\xD6 [\xA4\xA2\xA4\xBD\xA4\xD6] /(v5b,vi) (1) to play/(P)/\n";
    std::string error;
    const auto words = vokari::readings::read_common_words(file.string(), error);  // 遊ぶ [あそぶ]
    std::filesystem::remove(file);
    const auto form = words.find("遊ば");
    ASSERT_NE(form, words.end()) << error;
    EXPECT_EQ(form->second, "あそば");
}

}  // namespace
