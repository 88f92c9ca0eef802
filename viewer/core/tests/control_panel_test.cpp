#include "viewer/core/control_panel.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace qm71 {
namespace {

struct Host final : ControlPanelHost {
    int lut = 2, scale = 3, cameraResult = 1;
    std::string done;  // the actions carried out, one letter each
    int Lut() const override { return lut; }
    int Scale() const override { return scale; }
    int DownloadAttempts() const override { return -3; }
    int RunCameraSettings() override { return done += 'C', cameraResult; }
    void SoftwareTrigger() override { done += 'T'; }
    void SaveBitmap() override { done += 'S'; }
};

// The panel shows the colouring (an unknown one as normal grey), the scale
// and the downloads. The choosing buttons close it with their id, the pressed
// one too; trigger and Save BMP act and stay; the camera settings close it
// (with 2) unless they ended with 2 (Cancel, no port, OK in trigger mode).
TEST(ControlPanel, ShowsTheSettingsButtonsCloseWithTheirIdOrActAndStay) {
    Host host;
    ControlPanel panel(host);
    const ControlPanel::View& v = panel.Shown();
    EXPECT_EQ(std::tuple(v.colouring, v.scale, v.downloads), std::tuple(1004, 1033, "-3"));
    host.lut = 7;
    host.scale = 4;
    EXPECT_EQ(std::pair(ControlPanel(host).Shown().colouring, ControlPanel(host).Shown().scale),
              std::pair(1002, 0));
    for (int id : {1, 2, 1002, 1003, 1004, 1006, 1008, 1030, 1031, 1032, 1033})
        EXPECT_EQ(panel.Press(id), id);
    for (int id : {1054, 4, 1064}) EXPECT_EQ(panel.Press(id), std::nullopt);
    for (int result : {1, 3, 4, 2}) {
        host.cameraResult = result;
        EXPECT_EQ(panel.Press(1055), result == 2 ? std::nullopt : std::optional(2)) << result;
    }
    EXPECT_EQ(host.done, "TSCCCC");
}

}  // namespace
}  // namespace qm71
