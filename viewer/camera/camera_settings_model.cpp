#include "viewer/camera/camera_settings_model.h"

#include "common/leading_int.h"
#include "resources/qm/strings.h"

namespace qm71 {

namespace {

using M = CameraSettingsModel;

int ButtonOf(M::Group group, int selector) {
    const std::span<const int> buttons = M::kGroups[group];
    return selector >= 1 && selector <= static_cast<int>(buttons.size()) ? buttons[selector - 1]
                                                                         : 0;
}

int SelectorOf(M::Group group, const M::Controls& c) {
    const std::span<const int> buttons = M::kGroups[group];
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i] == c.checked[group]) return static_cast<int>(i) + 1;
    return 0;
}

M::Controls ControlsOf(const CameraSettings& s) {
    M::Controls c;
    const bool factory = s.blackLevel == BlackLevelFactory;
    c.checked = {ButtonOf(M::kMode, s.mode),
                 ButtonOf(M::kShutter, s.shutter),
                 ButtonOf(M::kTrigger, s.triggerPolarity),
                 ButtonOf(M::kBlackLevel, factory ? 1 : 2),
                 ButtonOf(M::kStrobe, s.strobePolarity),
                 ButtonOf(M::kDefect, s.defectConceal)};
    c.text = {std::to_string(s.exposure), std::to_string(s.gain),
              std::to_string(factory ? 0 : s.blackLevel)};
    return c;
}

// An edit whose text is not a number reads as 0.
CameraSettings SettingsOf(const M::Controls& c) {
    CameraSettings s;
    s.shutter = SelectorOf(M::kShutter, c);
    s.mode = SelectorOf(M::kMode, c);
    s.exposure = ParseLeadingInt(c.text[M::kExposure]);
    s.triggerPolarity = SelectorOf(M::kTrigger, c);
    s.blackLevel = SelectorOf(M::kBlackLevel, c) == 1
                       ? BlackLevelFactory
                       : ParseLeadingInt(c.text[M::kBlackLevelValue]);
    s.strobePolarity = SelectorOf(M::kStrobe, c);
    s.defectConceal = SelectorOf(M::kDefect, c);
    s.gain = ParseLeadingInt(c.text[M::kGain]);
    return s;
}

}  // namespace

CameraSettingsModel::CameraSettingsModel(CameraPort& port, Operator& op) : port_(port), op_(op) {}

CameraSettingsModel::~CameraSettingsModel() {
    port_.CloseCameraPort();
}

std::optional<int> CameraSettingsModel::Open() {
    WaitCursor wait(op_);
    if (!port_.OpenCameraPort()) return Close(kResultCancel);
    const CameraReadout readout = QueryCamera(port_);
    if (port_.Lost()) return Close(kResultCancel);
    if (readout.identity)
        title_ = std::string(qm::ResourceString(qm::IDS_CAMERA_TITLE)) + *readout.identity;
    shown_ = ControlsOf(readout.settings);
    return std::nullopt;
}

int CameraSettingsModel::Ok(const Controls& controls) {
    WaitCursor wait(op_);
    return Close(SendCameraSettings(port_, SettingsOf(controls)));
}

int CameraSettingsModel::Save(const Controls& controls) {
    WaitCursor wait(op_);
    SendCameraSettings(port_, SettingsOf(controls));
    port_.SaveToCamera();
    return Close(port_.Lost() ? kResultCancel : kResultSave);
}

int CameraSettingsModel::Reset() {
    WaitCursor wait(op_);
    port_.ResetCamera();
    return Close(port_.Lost() ? kResultCancel : kResultReset);
}

int CameraSettingsModel::Cancel() {
    return Close(kResultCancel);
}

// Every way out ends here, so the port is free for others once the dialog is gone.
int CameraSettingsModel::Close(int result) {
    port_.CloseCameraPort();
    return result;
}

}  // namespace qm71
