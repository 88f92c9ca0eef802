#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/operator.h"
#include "platform/serial_line.h"

namespace qm71 {

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
//
// Two things end an open link instead: a reply with no byte at all (the
// camera is silent; said once), and a wait given up by the wait watcher or
// by CloseCameraPort from within it (said by nobody). The port is then
// closed and every later exchange does nothing until the next open, so a
// camera that is switched off costs one time-out, not one per command.
class CameraPort : private SerialWaitWatcher {
  public:
    // `watcher`, if any, is asked now and then while an exchange waits.
    CameraPort(SerialLine& line, Operator& op, SerialTimeouts timeouts = kCameraTimeouts,
               SerialWaitWatcher* watcher = nullptr);
    ~CameraPort() override;
    CameraPort(const CameraPort&) = delete;
    CameraPort& operator=(const CameraPort&) = delete;

    // Opens COM1, else COM2, and sets 9600 8N1 with XON/XOFF. False when the
    // line is not usable; after a settings failure the port stays open until
    // CloseCameraPort.
    bool OpenCameraPort();
    // Closes the port if it is open. Called while an exchange waits (from
    // the watcher's event handling), it ends the wait and closes after it.
    void CloseCameraPort();
    bool IsOpen() const { return open_; }
    // True once the camera fell silent or a wait was given up, until the
    // next open.
    bool Lost() const { return lost_; }

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

    // Stale input dropped, one write and, if it went out, one read. nullopt
    // when the write failed (after reporting it) or the camera was lost;
    // otherwise the bytes read (at least one).
    std::optional<std::string> Exchange(std::string_view command, WriteReport report,
                                        std::size_t replySize = kReplySize);
    int ExchangeSelector(const SelectorFamily& family, int s);
    // Exposure and gain: `v` as the caller gave it, `sent` after the limits.
    int ExchangeNumeric(const NumericFamily& family, int v, int sent);
    // Set form: one exchange whose reply must be a bare acknowledgement.
    // False when the command did not go out.
    bool SendSetting(std::string_view command, std::string_view errorPrefix, WriteReport report);
    void SendAndAccept(int commandId, std::string_view errorPrefix);
    // Closes the port for the rest of this showing.
    void LoseCamera();

    // SerialWaitWatcher, between the line and the caller's watcher.
    bool KeepWaiting(const std::string& port, std::chrono::milliseconds waited) override;
    void WaitEnded() override;

    SerialLine& line_;
    Operator& op_;
    SerialTimeouts timeouts_;
    SerialWaitWatcher* watcher_;
    std::string portName_;
    bool open_ = false;
    bool lost_ = false;
    bool exchanging_ = false;
    bool givingUp_ = false;  // the wait under way is to end
};

}  // namespace qm71
