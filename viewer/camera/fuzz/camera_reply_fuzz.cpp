// Arbitrary camera replies through every command family and its parser.
#include <cstddef>
#include <cstdint>
#include <string>

#include "testing/recording_operator.h"
#include "testing/scripted_line.h"
#include "viewer/camera/camera_reply.h"
#include "viewer/camera/camera_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string raw(reinterpret_cast<const char*>(data), size);
    qm71::testing::ScriptedLine line;
    line.otherReply = raw;
    qm71::testing::RecordingOperator op;
    qm71::CameraPort port(line, op);
    port.OpenCameraPort();
    const qm71::CameraSettings read = qm71::QueryCamera(port).settings;
    for (int s = -1; s <= 4; ++s) qm71::SendCameraSettings(port, {s, s, s, s, s, s, s, s});
    const int value = qm71::ParseLeadingInt(raw);
    qm71::SendCameraSettings(port, {0, 0, value, 0, value, 0, 0, value});
    qm71::SendCameraSettings(port, read);
    port.SaveToCamera();
    port.ResetCamera();
    return 0;
}
