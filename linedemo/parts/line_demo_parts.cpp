#include "linedemo/parts/line_demo_parts.h"

#include "compose/card_choice.h"
#include "compose/settings_choice.h"
#include "linedemo/core/line_settings.h"
#include "platform/driver_channel.h"
#include "resources/qmdemo/commands.h"

namespace qm71 {

LineDemoParts::LineDemoParts(Operator& op, Clock& clock, LineDemoScreens& screens)
    : screens_(screens),
      store_(MakeSettingsStore(kLineSettingsFile)),
      channel_(MakeDriverChannel(clock, CameraKind::kLine)),
      driver_(*channel_),
      app_(*store_, driver_, op, clock) {}

void LineDemoParts::Command(int id) {
    if (app_.Ended()) return;
    switch (id) {
        case qmdemo::ID_CONTROL_PANEL:
            Command(app_.PanelResult(screens_.RunControlPanel(Logic().PanelState())));
            break;
        case qmdemo::ID_COLOURS:
            screens_.RunColours(*this);
            break;
        case qmdemo::ID_HELP:
            screens_.RunInfo();
            break;
        case qmdemo::ID_APP_EXIT:
            screens_.End();
            break;
        default:
            break;
    }
}

ColouringSettings& LineDemoParts::Colouring() {
    return Logic().Settings().colouring;
}

void LineDemoParts::BuildColorTable() {
    Logic().BuildColorTable();
}

const std::array<PaletteEntry, 256>& LineDemoParts::DisplayPalette() const {
    return app_.MainWindow().DisplayPalette();
}

}  // namespace qm71
