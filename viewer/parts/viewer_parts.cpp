#include "viewer/parts/viewer_parts.h"

#include "compose/card_choice.h"
#include "compose/settings_choice.h"
#include "platform/driver_channel.h"
#include "resources/qm/commands.h"
#include "viewer/core/bmp_export.h"

namespace qm71 {

ViewerParts::ViewerParts(Operator& op, Clock& clock, ViewerScreens& screens, SerialLine& line,
                         SerialWaitWatcher* cameraWait)
    : op_(op),
      screens_(screens),
      store_(MakeSettingsStore(kViewerSettingsFile)),
      channel_(MakeDriverChannel(clock, CameraKind::kArea)),
      driver_(*channel_),
      app_(*store_, driver_, op_, clock),
      camera_(line, op_, kCameraTimeouts, cameraWait) {}

void ViewerParts::Command(int id) {
    ImageWindow* logic = Logic();
    if (!logic || app_.Ended()) return;
    switch (id) {
        case qm::ID_CONTROL_PANEL:
            Command(logic->PanelResult(screens_.RunControlPanel(*this)));
            break;
        case qm::ID_COLOURS:
            screens_.RunColours(*this);
            break;
        case qm::ID_HELP:
            screens_.RunInfo();
            break;
        case qm::ID_APP_EXIT:
            screens_.End();
            break;
        default:
            break;
    }
}

void ViewerParts::Shutdown(const Rect& window) {
    app_.Shutdown(window);
}

int ViewerParts::Lut() const {
    return app_.MainWindow()->Settings().colouring.lut;
}

int ViewerParts::Scale() const {
    return app_.MainWindow()->Settings().scale;
}

int ViewerParts::DownloadAttempts() const {
    return app_.MainWindow()->DownloadAttempts();
}

int ViewerParts::RunCameraSettings() {
    return screens_.RunCameraSettings(camera_);
}

void ViewerParts::SoftwareTrigger() {
    if (ImageWindow* logic = Logic()) logic->SoftwareTrigger();
}

void ViewerParts::SaveBitmap() {
    ImageWindow* logic = Logic();
    if (!logic || !logic->Image()) return;
    if (const auto path = screens_.AskBitmapFileName())
        SaveBitmapReporting(*path, *logic->Image(), op_);
}

ColouringSettings& ViewerParts::Colouring() {
    return Logic()->Settings().colouring;
}

void ViewerParts::BuildColorTable() {
    Logic()->BuildColorTable();
}

const std::array<PaletteEntry, 256>& ViewerParts::DisplayPalette() const {
    return app_.MainWindow()->DisplayPalette();
}

}  // namespace qm71
