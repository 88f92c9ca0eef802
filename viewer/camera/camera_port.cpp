#include "viewer/camera/camera_port.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

namespace qm71 {

namespace {

constexpr std::array<const char*, 2> kPortNames{"COM1", "COM2"};

// The line the camera expects: 9600 baud, 8N1, XON/XOFF both ways, no
// hardware handshake and the modem-control lines left low.
void ApplyCameraLineSettings(SerialSettings& s) {
    s.baudRate = 9600;
    s.dataBits = 8;
    s.parity = SerialSettings::Parity::None;
    s.stopBits = SerialSettings::StopBits::One;
    s.ctsOutputFlow = false;
    s.dsrOutputFlow = false;
    s.dtr = SerialSettings::LineControl::Disabled;
    s.rts = SerialSettings::LineControl::Disabled;
    s.xonXoffOutput = true;
    s.xonXoffInput = true;
    s.xonChar = 0x11;
    s.xoffChar = 0x13;
}

}  // namespace

CameraPort::CameraPort(SerialLine& line, Operator& op, SerialTimeouts timeouts,
                       SerialWaitWatcher* watcher)
    : line_(line), op_(op), timeouts_(timeouts), watcher_(watcher) {
    line_.SetWaitWatcher(this);
}

CameraPort::~CameraPort() {
    CloseCameraPort();
    line_.SetWaitWatcher(nullptr);
}

bool CameraPort::OpenCameraPort() {
    WaitCursor wait(op_);
    // A second open without a close would leave the first handle behind.
    CloseCameraPort();
    lost_ = false;
    for (const char* name : kPortNames) {
        if (line_.Open(name)) {
            open_ = true;
            portName_ = name;
            break;
        }
    }
    if (!open_) {
        op_.Message("COM1/COM2 not opened!");
        return false;
    }
    SerialSettings settings{};
    if (!line_.GetSettings(settings)) {
        op_.Message("COMx GetCommState Error!");
        return false;
    }
    ApplyCameraLineSettings(settings);
    if (!line_.SetSettings(settings)) {
        op_.Message("COMx SetCommState Error!");
        return false;
    }
    // Without our time-outs the line still works with the port's own.
    if (!line_.SetTimeouts(timeouts_)) op_.Message("COMx COMMTIMEOUTS Error!");
    return true;
}

void CameraPort::CloseCameraPort() {
    if (exchanging_) {
        // The line is still in its read; it lets go when the wait ends.
        givingUp_ = true;
        return;
    }
    if (!open_) return;
    line_.Close();
    open_ = false;
}

void CameraPort::LoseCamera() {
    lost_ = true;
    CloseCameraPort();
}

bool CameraPort::KeepWaiting(const std::string& port, std::chrono::milliseconds waited) {
    // The watcher is always asked: it keeps the windows alive.
    if (watcher_ != nullptr && !watcher_->KeepWaiting(port, waited)) givingUp_ = true;
    return !givingUp_;
}

void CameraPort::WaitEnded() {
    if (watcher_ != nullptr) watcher_->WaitEnded();
}

std::optional<std::string> CameraPort::Exchange(std::string_view command, WriteReport report,
                                                std::size_t replySize) {
    // Nothing more for a lost camera; nor, from event handling during a wait,
    // a second command into the middle of this one.
    if (lost_ || exchanging_) return std::nullopt;
    std::size_t written = 0;
    bool sent = false;
    std::vector<std::byte> buffer(replySize);
    std::size_t count = 0;
    if (open_) {
        // What came after the last read ended is no reply to this command.
        line_.DiscardInput();
        exchanging_ = true;
        givingUp_ = false;
        sent = line_.Write(std::as_bytes(std::span(command.data(), command.size())), written);
        // A line that fails while reading answers as little as a silent
        // camera, and is treated the same way.
        if (sent && !givingUp_) {
            line_.Read(buffer, count);
            count = std::min(count, replySize);
        }
        exchanging_ = false;
        if (givingUp_) {
            LoseCamera();
            return std::nullopt;
        }
    }
    // A closed port behaves like a write that sent nothing.
    if (!sent) {
        switch (report) {
            case WriteReport::Plain:
                op_.Message("COMx Write Error!");
                break;
            case WriteReport::WithCount:
                op_.Message("COMx Write Error! (" + std::to_string(written) + " Bytes send)");
                break;
            case WriteReport::Silent:
                break;
        }
        return std::nullopt;
    }
    if (count == 0) {
        LoseCamera();
        op_.Message("Die Kamera an " + portName_ + " antwortet nicht.");
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(buffer.data()), count);
}

}  // namespace qm71
