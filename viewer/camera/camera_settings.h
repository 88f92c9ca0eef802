#pragma once

#include <optional>
#include <string>

#include "viewer/camera/camera_port.h"

namespace qm71 {

// The camera's eight settings, as the settings dialog shows them. A selector
// of 0 means that no state is known (its query could not be sent); nothing
// is sent for it then.
struct CameraSettings {
    int shutter = 0;                     // 1 on, 2 open, 3 close
    int mode = 0;                        // 1 trigger, 2 continuous, 3 controlled
    int exposure = ExposureQuery;        // ExposureQuery asks instead of setting
    int triggerPolarity = 0;             // 1 positive, 2 negative, 3 disabled
    int blackLevel = BlackLevelFactory;  // BlackLevelFactory: the camera's own level
    int strobePolarity = 0;              // 1 positive, 2 negative
    int defectConceal = 0;               // 1 on, 2 off
    int gain = GainQuery;                // GainQuery asks instead of setting

    bool operator==(const CameraSettings&) const = default;
};

// What the camera says when the dialog opens.
struct CameraReadout {
    std::optional<std::string> identity;  // nullopt: the query could not be sent
    CameraSettings settings;
};

// The identity, then the eight settings in the order the camera is asked.
CameraReadout QueryCamera(CameraPort& port);

// Sends the eight settings in the same order. Returns what OK ends the
// dialog with: 2 when the mode sent was Trigger (the control panel stays open
// for its Trigger button) or the camera was lost on the way, otherwise 1 --
// also when the port is not open, which sends nothing.
int SendCameraSettings(CameraPort& port, const CameraSettings& settings);

}  // namespace qm71
