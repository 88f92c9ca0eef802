#include "linedemo/core/line_settings.h"

#include <gtest/gtest.h>

#include "testing/fakes.h"

namespace qm71 {
namespace {

using Texts = std::vector<std::string>;

TEST(LineSettingsFile, KeysAreReadWithDefaultsAndUnsafeValuesMadeSafe) {
    // The scale, the trigger and the window on a 1280 x 1024 screen from a file.
    const std::tuple<int, bool, Rect, std::map<std::string, std::string>> cases[] = {
        // No file: centred on the whole image, (1280 - 5000) >> 1 = -1860,
        // off the left edge.
        {0, false, {-1860, 0, -580, 640}, {}},
        {5,
         true,
         {10, 20, 810, 620},
         {{"SCALE", "5"}, {"TRIG", "7"}, {"B", "800"}, {"H", "600"}, {"X", "10"}, {"Y", "20"}}},
        // A scale the window does not have is 1:8, a colouring it does not
        // have normal; sizes of 0 or less are missing; a size wider than the
        // screen is the screen's.
        {0, false, {0, 0, 1280, 640}, {{"SCALE", "6"}, {"B", "0"}, {"H", "-5"}, {"X", "0"}}},
        {0, false, {-1860, 0, -580, 640}, {{"SCALE", "-1"}, {"B", "20000"}, {"LUT", "2147483647"}}},
    };
    for (const auto& [scale, trigger, window, file] : cases) {
        testing::MemoryProfile store;
        store.values = file;
        LineSettings s;
        s.ReadDisplay(store);
        s.ReadWindowPlacement(store, 1280, 1024);
        EXPECT_EQ(store.reads, (Texts{"LUT", "THRESH", "MITTE", "VG", "MG", "BG", "SCALE", "TRIG",
                                      "B", "H", "X", "Y"}));
        EXPECT_EQ(std::tuple(s.display.scale, s.trigger, s.window, s.display.colouring.lut),
                  std::tuple(scale, trigger, window, 0));
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
    Texts values;
    for (const std::string& key : store.written) values.push_back(store.values[key]);
    EXPECT_EQ(values, (Texts{"5000", "640", "-5", "12", "1024", "640", "2", "1824", "4", "300", "7",
                             "3", "246", "9", "1"}));
    store.writable = false;
    EXPECT_EQ(s.Write(store, 0x320)->reason, "Read-only file system");
}

}  // namespace
}  // namespace qm71
