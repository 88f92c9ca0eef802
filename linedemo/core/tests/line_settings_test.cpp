#include "linedemo/core/line_settings.h"

#include <gtest/gtest.h>

#include "testing/fakes.h"

namespace qm71 {
namespace {

using Texts = std::vector<std::string>;

TEST(LineSettingsFile, WithoutAFileEveryKeyTakesItsDefault) {
    testing::MemoryProfile store;
    LineSettings s;
    s.ReadDisplay(store);
    s.ReadWindowPlacement(store, 1280, 1024);
    EXPECT_EQ(store.reads, (Texts{"LUT", "THRESH", "MITTE", "VG", "MG", "BG", "SCALE", "TRIG", "B",
                                  "H", "X", "Y"}));
    const ColouringSettings& c = s.display.colouring;
    EXPECT_EQ((std::vector<int>{c.lut, c.thresh, c.mitte, c.vg, c.mg, c.bg, s.display.scale}),
              (std::vector<int>{0, 128, 10, 255, 8, 0, 0}));
    EXPECT_FALSE(s.trigger);
    // Centred on the whole image: (1280 - 5000) >> 1 = -1860, off the left edge.
    EXPECT_EQ(s.window, (Rect{-1860, 0, -580, 640}));
}

TEST(LineSettingsFile, StoredValuesAreReadAndUnsafeOnesMadeSafe) {
    struct Case {
        std::map<std::string, std::string> file;
        int scale;
        bool trigger;
        Rect window;  // on a 1280 x 1024 screen
    };
    const Case cases[] = {
        {{{"SCALE", "5"}, {"TRIG", "7"}, {"B", "800"}, {"H", "600"}, {"X", "10"}, {"Y", "20"}},
         5,
         true,
         {10, 20, 810, 620}},
        // A scale the window does not have is 1:8; sizes of 0 or less are
        // missing; a size wider than the screen is the screen's.
        {{{"SCALE", "6"}, {"B", "0"}, {"H", "-5"}, {"X", "0"}, {"Y", "0"}},
         0,
         false,
         {0, 0, 1280, 640}},
        {{{"SCALE", "-1"}, {"B", "20000"}}, 0, false, {-1860, 0, -580, 640}},
    };
    for (const Case& c : cases) {
        testing::MemoryProfile store;
        store.values = c.file;
        LineSettings s;
        s.ReadDisplay(store);
        s.ReadWindowPlacement(store, 1280, 1024);
        EXPECT_EQ(s.display.scale, c.scale);
        EXPECT_EQ(s.trigger, c.trigger);
        EXPECT_EQ(s.window, c.window);
    }
}

TEST(LineSettingsFile, FifteenKeysAreWrittenInOrder) {
    testing::MemoryProfile store;
    LineSettings s;
    s.display.colouring = {.lut = 2, .thresh = 300, .mitte = 7, .bg = 9, .mg = 246, .vg = 3};
    s.display.scale = 4;
    s.trigger = true;
    s.window = {-5, 12, 1019, 652};
    EXPECT_FALSE(s.Write(store, 0x720).has_value());
    EXPECT_EQ(store.written, (Texts{"ZEILE", "SPALTE", "X", "Y", "B", "H", "LUT", "BASIS", "SCALE",
                                    "THRESH", "MITTE", "VG", "MG", "BG", "TRIG"}));
    const std::map<std::string, std::string> expected{
        {"ZEILE", "5000"}, {"SPALTE", "640"}, {"X", "-5"},       {"Y", "12"},    {"B", "1024"},
        {"H", "640"},      {"LUT", "2"},      {"BASIS", "1824"}, {"SCALE", "4"}, {"THRESH", "300"},
        {"MITTE", "7"},    {"VG", "3"},       {"MG", "246"},     {"BG", "9"},    {"TRIG", "1"}};
    EXPECT_EQ(store.values, expected);

    store.writable = false;
    const auto failure = s.Write(store, 0x320);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->reason, "Read-only file system");
}

}  // namespace
}  // namespace qm71
