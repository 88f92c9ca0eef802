#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>

#include "platform/operator.h"
#include "viewer/camera/camera_port.h"
#include "viewer/camera/camera_settings.h"

namespace qm71 {

// Radio buttons of the camera settings dialog by group, in selector order
// (first button = selector 1). 1070, between the strobe buttons, is the
// black-level edit.
inline constexpr std::array<int, 3> kModeButtons{1056, 1057, 1058};
inline constexpr std::array<int, 3> kShutterButtons{1059, 1060, 1061};
inline constexpr std::array<int, 3> kTriggerButtons{1063, 1064, 1065};
inline constexpr std::array<int, 2> kBlackLevelButtons{1067, 1068};  // factory, user setting
inline constexpr std::array<int, 2> kStrobeButtons{1069, 1071};
inline constexpr std::array<int, 2> kDefectButtons{1072, 1073};

// The camera settings dialog (template 133) without its widgets. It holds the
// camera link while it is shown: it opens the port and reads every setting
// when it opens, writes them back on OK or Save, and closes the port however
// it ends. The controls are its only state: what the camera said goes into
// them, and OK sends what they hold then.
//
// Results: 1 OK (mode not Trigger, or no port), 2 Cancel / Escape / close box /
// OK with mode Trigger / port not opened / camera lost (silent, or the wait
// given up), 3 Reset, 4 Save.
class CameraSettingsModel {
  public:
    enum Result { kResultOk = 1, kResultCancel = 2, kResultReset = 3, kResultSave = 4 };
    enum Group { kMode, kShutter, kTrigger, kBlackLevel, kStrobe, kDefect };
    enum Edit { kExposure, kGain, kBlackLevelValue };
    static constexpr std::array<std::span<const int>, 6> kGroups{
        kModeButtons,       kShutterButtons, kTriggerButtons,
        kBlackLevelButtons, kStrobeButtons,  kDefectButtons};
    static constexpr std::array<int, 3> kEdits{1062, 1066, 1070};

    // What the controls hold, by Group and by Edit.
    struct Controls {
        std::array<int, 6> checked{};  // id of the checked button; 0: none
        std::array<std::string, 3> text;
        bool operator==(const Controls&) const = default;
    };

    CameraSettingsModel(CameraPort& port, Operator& op);
    ~CameraSettingsModel();
    CameraSettingsModel(const CameraSettingsModel&) = delete;
    CameraSettingsModel& operator=(const CameraSettingsModel&) = delete;

    // Opens the port and fills the controls from the camera. The result the
    // dialog ends with at once when the port cannot be opened or the camera
    // is lost; nothing when it is to be shown.
    std::optional<int> Open();

    const Controls& Shown() const { return shown_; }
    // The caption after opening; nothing when the template's stays (the
    // identity query could not be sent).
    const std::optional<std::string>& Title() const { return title_; }

    // The ways out, each with the controls as the user left them.
    int Ok(const Controls& controls);
    int Save(const Controls& controls);
    int Reset();
    int Cancel();

  private:
    int Close(int result);

    CameraPort& port_;
    Operator& op_;
    Controls shown_;
    std::optional<std::string> title_;
};

}  // namespace qm71
