#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/operator.h"
#include "platform/serial_line.h"

namespace qm71 {

// Time-outs of the camera line: a 32-byte read ends 100 ms after the last byte
// of a reply, or after 33 s of silence.
inline constexpr SerialTimeouts kCameraTimeouts{100, 1000, 1000, 100, 100};

// Arguments that turn the numeric exchanges into queries.
inline constexpr int ExposureQuery = -1;
inline constexpr int GainQuery = -1;
inline constexpr int BlackLevelQuery = 1000000;
// Black level: the camera's factory setting (argument and query result).
inline constexpr int BlackLevelFactory = -1000000;

// The serial link to the camera and its command language. The link is open
// only while the camera settings dialog is shown; every exchange is one write
// of a command and, if that went out, one read of the reply. Failures and
// refusals are shown to the operator and the exchange carries on.
class CameraPort {
  public:
    CameraPort(SerialLine& line, Operator& op, SerialTimeouts timeouts = kCameraTimeouts);
    ~CameraPort();
    CameraPort(const CameraPort&) = delete;
    CameraPort& operator=(const CameraPort&) = delete;

    // Opens COM1, else COM2, and sets 9600 8N1 with XON/XOFF. False when the
    // line is not usable; after a settings failure the port stays open until
    // CloseCameraPort.
    bool OpenCameraPort();
    // Closes the port if it is open.
    void CloseCameraPort();
    bool IsOpen() const { return open_; }

    // Selector families: 0 queries (result 1..n), 1..n sets and returns s.
    int ExchangeMode(int s);             // 1 trigger, 2 continuous, 3 controlled
    int ExchangeShutter(int s);          // 1 on, 2 open, 3 close
    int ExchangeTriggerPolarity(int s);  // 1 positive, 2 negative, 3 disabled
    int ExchangeStrobePolarity(int s);   // 1 positive, 2 negative
    int ExchangeDefectConceal(int s);    // 1 on, 2 off

    // Numeric families. ExposureQuery / GainQuery / BlackLevelQuery query; a
    // bad exposure or gain reply gives 200, a bad black-level reply the
    // factory marker. A set returns the value sent (after its limits).
    int ExchangeExposure(int v);
    int ExchangeGain(int v);        // sent even, 0..24
    int ExchangeBlackLevel(int v);  // sent -2048..2047; BlackLevelFactory sends "BKF"

    void SaveToCamera();
    void ResetCamera();

    // The camera's identity text; nullopt when the query could not be sent.
    std::optional<std::string> QueryIdentity();

    // Sizes of the reply reads.
    static constexpr std::size_t kReplySize = 32;
    static constexpr std::size_t kIdentitySize = 64;

  private:
    enum class WriteReport { Plain, WithCount, Silent };
    struct SelectorFamily;
    struct NumericFamily;

    // One write and, if it went out, one read. nullopt when the write failed
    // (after reporting it); otherwise the bytes read.
    std::optional<std::string> Exchange(std::string_view command, WriteReport report,
                                        std::size_t replySize = kReplySize);
    int ExchangeSelector(const SelectorFamily& family, int s);
    // Exposure and gain: `v` as the caller gave it, `sent` after the limits.
    int ExchangeNumeric(const NumericFamily& family, int v, int sent);
    // Set form: one exchange whose reply must be a bare acknowledgement.
    // False when the command did not go out.
    bool SendSetting(std::string_view command, std::string_view errorPrefix, WriteReport report);
    void SendAndAccept(int commandId, std::string_view errorPrefix);

    SerialLine& line_;
    Operator& op_;
    SerialTimeouts timeouts_;
    bool open_ = false;
};

}  // namespace qm71
