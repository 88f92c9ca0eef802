#include "viewer/core/viewer_settings.h"

#include <gtest/gtest.h>

#include "testing/fakes.h"

namespace qm71 {
namespace {

using testing::MemoryProfile;

TEST(ViewerSettings, DisplayKeysReadInOrderWithDefaults) {
    MemoryProfile store;
    const DisplaySettings d = ReadDisplaySettings(store);
    EXPECT_EQ(store.reads,
              (std::vector<std::string>{"LUT", "THRESH", "MITTE", "VG", "MG", "BG", "SCALE"}));
    EXPECT_EQ(d.colouring.lut, 0);
    EXPECT_EQ(d.colouring.thresh, 128);
    EXPECT_EQ(d.colouring.mitte, 10);
    EXPECT_EQ(d.colouring.vg, 255);
    EXPECT_EQ(d.colouring.mg, 8);
    EXPECT_EQ(d.colouring.bg, 0);
    EXPECT_EQ(d.scale, 0);
}

TEST(ViewerSettings, ScaleIsMaskedAndOtherValuesKeptAsStored) {
    MemoryProfile store;
    store.values = {{"SCALE", "7"}, {"THRESH", "-40"}, {"BG", "300"}};
    const DisplaySettings d = ReadDisplaySettings(store);
    EXPECT_EQ(d.scale, 3);
    EXPECT_EQ(d.colouring.thresh, -40);
    EXPECT_EQ(d.colouring.bg, 300);
}

TEST(ViewerSettings, FirstStartOnASmallScreenStaysOnTheScreen) {
    MemoryProfile store;
    const Rect r = ReadWindowPlacement(store, 1024, 768);
    EXPECT_EQ(r, (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(store.reads, (std::vector<std::string>{"B", "H", "X", "Y"}));
}

TEST(ViewerSettings, StoredPlacementIsBoundedByTheScreenOnly) {
    MemoryProfile store;
    store.values = {{"B", "5000"}, {"H", "600"}, {"X", "-100"}, {"Y", "-20"}};
    EXPECT_EQ(ReadWindowPlacement(store, 1280, 1024), (Rect{-100, -20, 1180, 580}));
    store.values["B"] = "800";
    EXPECT_EQ(ReadWindowPlacement(store, 1280, 1024).Width(), 800);
}

TEST(ViewerSettings, SizeOfZeroOrLessFallsBackToTheDefault) {
    MemoryProfile store;
    store.values = {{"B", "0"}, {"H", "-5"}, {"X", "10"}, {"Y", "10"}};
    EXPECT_EQ(ReadWindowPlacement(store, 4000, 3000), (Rect{10, 10, 3082, 2066}));
}

TEST(ViewerSettings, WrittenInTheFixedOrder) {
    MemoryProfile store;
    DisplaySettings d;
    d.scale = 2;
    d.colouring = {.lut = 2, .thresh = 99, .mitte = 5, .bg = 3, .mg = 4, .vg = 250};
    ASSERT_TRUE(WriteViewerSettings(store, Rect{-5, 7, 795, 607}, d));
    EXPECT_EQ(store.written, (std::vector<std::string>{"X", "Y", "B", "H", "LUT", "SCALE", "THRESH",
                                                       "MITTE", "VG", "MG", "BG"}));
    EXPECT_EQ(store.values["X"], "-5");
    EXPECT_EQ(store.values["B"], "800");
    EXPECT_EQ(store.values["H"], "600");
    EXPECT_EQ(store.values["VG"], "250");
    store.writable = false;
    EXPECT_FALSE(WriteViewerSettings(store, Rect{}, d));
}

}  // namespace
}  // namespace qm71
