#include "viewer/core/viewer_settings.h"

#include <gtest/gtest.h>

#include <climits>

#include "testing/fakes.h"

namespace qm71 {
namespace {

using Keys = std::vector<std::string>;

TEST(ViewerSettings, ReadAtBothMomentsInOrderWithDefaults) {
    testing::MemoryProfile store;
    ViewerSettings s;
    s.ReadDisplay(store);
    EXPECT_EQ(store.reads, (Keys{"LUT", "THRESH", "MITTE", "VG", "MG", "BG", "SCALE"}));
    const ColouringSettings& c = s.display.colouring;
    EXPECT_EQ(std::tuple(c.lut, c.thresh, c.mitte, c.vg, c.mg, c.bg, s.display.scale),
              std::tuple(0, 128, 10, 255, 8, 0, 0));
    // SCALE is masked; a colouring value the program cannot use is the key's
    // default, one it can use is kept.
    store.values = {{"SCALE", "7"},   {"LUT", "2147483647"}, {"THRESH", "-2147483648"},
                    {"MITTE", "256"}, {"BG", "2147483647"},  {"MG", "10"},
                    {"VG", "246"}};
    s.ReadDisplay(store);
    EXPECT_EQ(std::tuple(s.display.scale, c.lut, c.thresh, c.mitte, c.vg, c.mg, c.bg),
              std::tuple(3, 0, INT_MIN, 256, 246, 8, 0));

    // The window's place, once the screen is known, is bounded by the screen only.
    const auto placed = [&store](std::map<std::string, std::string> values, int w, int h) {
        store.values = std::move(values);
        store.reads.clear();
        ViewerSettings read;
        read.ReadWindowPlacement(store, w, h);
        return read.window;
    };
    EXPECT_EQ(placed({}, 1024, 768), (Rect{0, 0, 1024, 768}));  // no file, small screen
    EXPECT_EQ(store.reads, (Keys{"B", "H", "X", "Y"}));
    EXPECT_EQ(placed({{"B", "5000"}, {"H", "600"}, {"X", "-100"}, {"Y", "-20"}}, 1280, 1024),
              (Rect{-100, -20, 1180, 580}));
    // A size of zero or less counts as missing.
    EXPECT_EQ(placed({{"B", "0"}, {"H", "-5"}, {"X", "10"}, {"Y", "10"}}, 4000, 3000),
              (Rect{10, 10, 3082, 2066}));
    // At the end of int the window keeps its size; its far edge stays inside int.
    EXPECT_EQ(placed({{"X", "2147483647"}, {"Y", "-2147483648"}}, 1280, 1024),
              (Rect{INT_MAX - 1280, INT_MIN, INT_MAX, INT_MIN + 1024}));
}

}  // namespace
}  // namespace qm71
