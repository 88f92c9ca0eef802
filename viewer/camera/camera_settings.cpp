// The order in which the camera's settings are read and written: shutter,
// mode, exposure, trigger polarity, black level, strobe polarity, defect
// concealment, gain.
#include "viewer/camera/camera_settings.h"

namespace qm71 {

namespace {
constexpr int kModeTrigger = 1;
constexpr int kResultOk = 1;
constexpr int kResultCancel = 2;
}  // namespace

CameraReadout QueryCamera(CameraPort& port) {
    CameraReadout r;
    r.identity = port.QueryIdentity();
    CameraSettings& s = r.settings;
    s.shutter = port.ExchangeShutter(0);
    s.mode = port.ExchangeMode(0);
    s.exposure = port.ExchangeExposure(ExposureQuery);
    s.triggerPolarity = port.ExchangeTriggerPolarity(0);
    s.blackLevel = port.ExchangeBlackLevel(BlackLevelQuery);
    s.strobePolarity = port.ExchangeStrobePolarity(0);
    s.defectConceal = port.ExchangeDefectConceal(0);
    s.gain = port.ExchangeGain(GainQuery);
    return r;
}

int SendCameraSettings(CameraPort& port, const CameraSettings& s) {
    if (!port.IsOpen()) return kResultOk;
    // A group without a selector is left alone: the camera keeps what it has.
    if (s.shutter != 0) port.ExchangeShutter(s.shutter);
    if (s.mode != 0) port.ExchangeMode(s.mode);
    port.ExchangeExposure(s.exposure);
    if (s.triggerPolarity != 0) port.ExchangeTriggerPolarity(s.triggerPolarity);
    port.ExchangeBlackLevel(s.blackLevel);
    if (s.strobePolarity != 0) port.ExchangeStrobePolarity(s.strobePolarity);
    if (s.defectConceal != 0) port.ExchangeDefectConceal(s.defectConceal);
    port.ExchangeGain(s.gain);
    if (port.Lost()) return kResultCancel;
    return s.mode == kModeTrigger ? kResultCancel : kResultOk;
}

}  // namespace qm71
