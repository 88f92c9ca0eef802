#include "compose/settings_choice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace qm71 {
namespace {
namespace fs = std::filesystem;

TEST(SettingsChoiceTest, TheConfigFolderHoldsTheProgramsFile) {
    const fs::path dir =
        fs::temp_directory_path() / ("qm71-settings-" + std::to_string(std::random_device()()));
    fs::create_directories(dir);
    const auto store = MakeSettingsStore("lcam71.ini", dir.string().c_str());
    ASSERT_TRUE(store->WriteString("CONFIG", "TRIG", "1"));
    EXPECT_EQ(store->LastWriteFailure().folder, dir.string());
    EXPECT_EQ(MakeSettingsStore("lcam71.ini", dir.string().c_str())->GetInt("CONFIG", "TRIG", 0),
              1);
    EXPECT_TRUE(fs::exists(dir / "lcam71.ini"));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace qm71
