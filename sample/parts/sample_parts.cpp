#include "sample/parts/sample_parts.h"

#include "compose/card_service_choice.h"
#include "resources/sample/commands.h"

namespace qm71 {

SampleParts::SampleParts(Operator& op, Clock& clock, SampleScreens& screens, SerialLine& line)
    : screens_(screens),
      card_(MakeCardService(clock)),
      ports_{card_.get(), card_.get()},
      line_(line),
      cameraWait_(screens),
      camera_(line, op),
      app_(*card_, camera_, op) {
    InstallCardPorts(ports_);
    line_.SetWaitWatcher(&cameraWait_);
}

SampleParts::~SampleParts() {
    camera_.Close();
    line_.SetWaitWatcher(nullptr);
    qm71_install_ports(nullptr);
}

bool SampleParts::Start(int screenWidth, int screenHeight) {
    const Rect placement = app_.InitInstance(screenWidth, screenHeight);
    WindowHost* window = screens_.CreateMainWindow(placement);
    if (!window) return false;
    app_.OnCreate(*window);
    screens_.ShowMainWindow(placement);
    app_.Start([this](const std::string& caption) { screens_.SetCaption(caption); });
    return true;
}

void SampleParts::Command(int id) {
    if (app_.Command(id)) return;
    if (id == sample::ID_SIZE) {
        screens_.RunSizeDialog(app_.State());
    } else if (id == sample::ID_ABOUT) {
        screens_.RunAboutBox();
    }
}

}  // namespace qm71
