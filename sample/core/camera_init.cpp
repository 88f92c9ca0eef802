#include "sample/core/camera_init.h"

#include <array>
#include <cstdio>

namespace qm71::sample {

SerialSettings CameraLineSettings() {
    SerialSettings s;
    s.baudRate = 9600;
    s.dataBits = 8;
    s.parity = SerialSettings::Parity::None;
    s.stopBits = SerialSettings::StopBits::One;
    s.ctsOutputFlow = true;
    s.dsrOutputFlow = true;
    s.dtr = SerialSettings::LineControl::Handshake;
    s.rts = SerialSettings::LineControl::Handshake;
    s.xonXoffOutput = s.xonXoffInput = false;
    return s;
}

void SampleCamera::KameraInit(int width, int height, const TitleSink& title) {
    title(kInitTitle);
    if (!line_.Open(kCameraPortName)) {
        op_.Message("KameraInit: OpenComm (COM2)!", kErrorCaption, kErrorBox);
        return;
    }
    SerialSettings current;
    if (!line_.GetSettings(current)) {
        op_.Message("KameraInit: COM2 GetCommState", kErrorCaption, kErrorBox);
        return;
    }
    // Every member not named is cleared, whatever the port had before.
    if (!line_.SetSettings(CameraLineSettings())) {
        op_.Message("KameraInit: SetCommState (COM2)!", kErrorCaption, kErrorBox);
        return;
    }
    if (!line_.SetTimeouts(timeouts_))
        op_.Message("COMx COMMTIMEOUTS Error!", kErrorCaption, kErrorBox);

    SetCommand9(command9_);
    const std::array<std::uint8_t, 4> c10{3, 10, 16, 1};
    SendCameraCommand(c10);
    const std::array<std::uint8_t, 4> c11{3, 11, 0, 1};
    SendCameraCommand(c11);
    SetCommand12(command12Exponent_, command12Value_);
    SetCameraFrameSize(width, height);
    title(kReadyTitle);
}

void SampleCamera::SendCameraCommand(std::span<const std::uint8_t> frame) {
    const auto n = static_cast<std::int8_t>(frame[0]);
    const std::size_t size = n < 0 ? 1 : static_cast<std::size_t>(n) + 1;
    // A reply that came too late for the command before must not be taken
    // for this one's.
    line_.DiscardInput();
    std::size_t written = 0;
    if (size > frame.size() || !line_.Write(std::as_bytes(frame.first(size)), written) ||
        written != size) {
        op_.Message("COM2 Write!", kErrorCaption, kErrorBox);
        return;
    }
    // The reply takes the length byte's place; with no reply it stays.
    std::array<std::byte, 1> reply{static_cast<std::byte>(frame[0])};
    std::size_t read = 0;
    if (!line_.Read(reply, read)) {
        op_.Message("COM2 Read!", kErrorCaption, kErrorBox);
        return;
    }
    if (read == 1 && reply[0] == std::byte{0}) return;
    char text[96];
    std::snprintf(text, sizeof text, "KameraInit: Camera Response Error\nInit %d (%d gelesen)!",
                  static_cast<int>(static_cast<std::int8_t>(reply[0])), static_cast<int>(read));
    op_.Message(text, kErrorCaption, kErrorBox);
}

void SampleCamera::SetCameraFrameSize(int width, int height) {
    const auto w = static_cast<unsigned>(width - 1);
    const std::array<std::uint8_t, 5> frame{4, 7, static_cast<std::uint8_t>((w >> 8) & 0xFF),
                                            static_cast<std::uint8_t>(w & 0xFF),
                                            static_cast<std::uint8_t>(((height & 255) - 1) & 255)};
    SendCameraCommand(frame);
}

void SampleCamera::SetCommand9(std::uint8_t value) {
    command9_ = value;
    const std::array<std::uint8_t, 3> frame{2, 9, value};
    SendCameraCommand(frame);
}

void SampleCamera::SetCommand12(int exponent, std::uint8_t value) {
    command12Exponent_ = exponent;
    command12Value_ = value;
    const std::array<std::uint8_t, 4> frame{3, 12, static_cast<std::uint8_t>(1u << (exponent & 7)),
                                            value};
    SendCameraCommand(frame);
}

}  // namespace qm71::sample
