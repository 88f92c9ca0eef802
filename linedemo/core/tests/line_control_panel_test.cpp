#include "linedemo/core/line_control_panel.h"

#include <gtest/gtest.h>

#include <tuple>

namespace qm71 {
namespace {

TEST(LineControlPanel, ShowsTheStateAndClosesWithTheIdOfWhatWasPressed) {
    const LineControlPanel panel(
        {.lut = 2, .scale = 3, .trigger = true, .width = 5000, .height = 640});
    const LineControlPanel::View& v = panel.Shown();
    EXPECT_EQ(std::tuple(v.colouring, v.scale, v.trigger, v.imageSize),
              std::tuple(1013, 1033, true, "5000*640"));
    const LineControlPanel::View unknown = LineControlPanel({.lut = 3, .scale = -1}).Shown();
    EXPECT_EQ(std::tuple(unknown.colouring, unknown.scale, unknown.trigger),
              std::tuple(0, 0, false));
    // The pressed buttons close too; "SW-Trigger" keeps its mark for the
    // main window to change.
    for (int id : {1, 2, 1006, 1011, 1012, 1013, 1014, 1030, 1031, 1032, 1033, 1034, 1035, 32813})
        EXPECT_EQ(panel.Press(id), id);
    EXPECT_TRUE(panel.Shown().trigger);
    EXPECT_EQ(panel.Press(1059), std::nullopt);
}

}  // namespace
}  // namespace qm71
