#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/operator.h"
#include "platform/serial_line.h"

namespace qm71::sample {

// The camera's control line: COM2, 9600 8N1, output paced by CTS and DSR,
// DTR and RTS driven by the handshake, no XON/XOFF. On POSIX the CTS pacing
// and RTS handshake become the terminal's RTS/CTS flow control; DSR pacing
// and a DTR handshake have no termios counterpart, so DTR is simply raised.
// The 256-byte driver queues have no counterpart either and are not asked for.
SerialSettings CameraLineSettings();

inline constexpr const char* kCameraPortName = "COM2";
inline constexpr const char* kErrorCaption = "Error";
// Every box of the sample: the error icon, no owner window.
inline constexpr MessageStyle kErrorBox{MessageStyle::Icon::Error, MessageStyle::Owner::None};
// Window titles while the camera is being set up and once it is done.
inline constexpr const char* kInitTitle = "KameraInit";
inline constexpr const char* kReadyTitle = "QM71 is ready.";

// The sample program's camera link. Every command is a length byte n, then n
// bytes (command number and parameters); the camera answers each with one
// status byte, 0 = accepted. Faults are reported to the operator with the
// caption "Error"; none of them stops the program.
class SampleCamera {
  public:
    using TitleSink = std::function<void(const std::string&)>;

    SampleCamera(SerialLine& line, Operator& op, SerialTimeouts timeouts = kCameraTimeouts)
        : line_(line), op_(op), timeouts_(timeouts) {}

    // Opens and sets up COM2, then sends commands 9, 10, 11, 12 and the frame
    // size. `title` is given the window title at the start and at the end;
    // an open or settings failure ends it early with the first title still up.
    void KameraInit(int width, int height, const TitleSink& title);

    // Sends one frame and checks the one-byte reply.
    void SendCameraCommand(std::span<const std::uint8_t> frame);
    // Command 7: W - 1 big-endian in two bytes, H - 1 in one (256 is sent as
    // 255, larger heights wrap).
    void SetCameraFrameSize(int width, int height);
    // Commands 9 and 12; the values are kept, so a later set-up resends them.
    void SetCommand9(std::uint8_t value);
    void SetCommand12(int exponent, std::uint8_t value);

    void Close() { line_.Close(); }

  private:
    SerialLine& line_;
    Operator& op_;
    SerialTimeouts timeouts_;
    std::uint8_t command9_ = 0;
    int command12Exponent_ = 3;
    std::uint8_t command12Value_ = 0;
};

}  // namespace qm71::sample
