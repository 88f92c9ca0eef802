#include "viewer/core/control_panel.h"

#include <gtest/gtest.h>

#include <string>

namespace qm71 {
namespace {

struct Host final : ControlPanelHost {
    int lut = 2, scale = 3, downloads = -3, cameraResult = 1;
    std::string done;  // the actions carried out, one letter each
    int Lut() const override { return lut; }
    int Scale() const override { return scale; }
    int DownloadAttempts() const override { return downloads; }
    int RunCameraSettings() override { return done += 'C', cameraResult; }
    void SoftwareTrigger() override { done += 'T'; }
    void SaveBitmap() override { done += 'S'; }
};

TEST(ControlPanel, ShowsColouringScaleAndDownloads) {
    Host host;
    const ControlPanel panel(host);
    EXPECT_EQ(panel.Shown().colouring, 1004);
    EXPECT_EQ(panel.Shown().scale, 1033);
    EXPECT_EQ(panel.Shown().downloads, "-3");
    // A colouring the lookup does not know is drawn as normal grey.
    host.lut = 7;
    host.scale = 4;
    EXPECT_EQ(ControlPanel(host).Shown().colouring, 1002);
    EXPECT_EQ(ControlPanel(host).Shown().scale, 0);
}

// The choosing buttons close with their id, the pressed one too; trigger and
// Save BMP act and stay; the camera settings close the panel (with 2) unless
// they ended with 2 (Cancel, no port, OK in trigger mode).
TEST(ControlPanel, ButtonsCloseWithTheirIdOrActAndStay) {
    Host host;
    ControlPanel panel(host);
    for (int id : {1, 2, 1002, 1003, 1004, 1006, 1008, 1030, 1031, 1032, 1033})
        EXPECT_EQ(panel.Press(id), id);
    EXPECT_EQ(panel.Press(1054), std::nullopt);
    EXPECT_EQ(panel.Press(4), std::nullopt);
    EXPECT_EQ(panel.Press(1064), std::nullopt);
    for (int result : {1, 3, 4}) {
        host.cameraResult = result;
        EXPECT_EQ(panel.Press(1055), 2) << result;
    }
    host.cameraResult = 2;
    EXPECT_EQ(panel.Press(1055), std::nullopt);
    EXPECT_EQ(host.done, "TSCCCC");
}

}  // namespace
}  // namespace qm71
