#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm71::sim {

enum class CameraMode : std::uint8_t { Trigger, Continuous, Controlled };
enum class ShutterMode : std::uint8_t { On, Open, Close };
enum class Polarity : std::uint8_t { Positive, Negative };

// Everything the area camera remembers about its set-up.
struct AreaCameraSettings {
    CameraMode mode = CameraMode::Continuous;
    ShutterMode shutter = ShutterMode::On;
    int exposure = 200;
    Polarity triggerPolarity = Polarity::Positive;
    bool triggerEnabled = true;
    int gain = 0;
    std::optional<int> blackLevel;  // empty: the factory black level
    Polarity strobePolarity = Polarity::Positive;
    bool defectConcealment = true;

    bool operator==(const AreaCameraSettings&) const = default;
};

// The area camera's ASCII command language, without any line framing.
//
// Queries and their replies (every reply ends in CR):
//   MDE?  -> "MDE TR" | "MDE CS" | "MDE CD"
//   SHE?  -> "SHE ON" (on) | "SHE FO" (open) | "SHE FC" (close)
//            The host tells the shutter states apart by the sixth character
//            (N, O, C), so "open" is reported as FO, the counterpart of FC,
//            and not with the OF that sets it.
//   EXE?  -> "EXE <n>"
//   TRM?  -> "TRM P" | "TRM N" | "TRM OFF" (trigger input disabled)
//   GAE?  -> "GAE <n>"
//   BKE?  -> "BKE <n>" | "BKF" (on the factory black level)
//   STP?  -> "STP P" | "STP N"
//   DEF?  -> "DEF ON" | "DEF OF"
//   IDN?  -> the identity text
// Set forms answer a bare CR: "MDE TR|CS|CD", "SHE ON|OF|FO|FC", "EXE <n>",
// "TRM P|N" (also enables the trigger input), "TRE 1" (disables it),
// "TRE 0" (enables it), "GAE <n>", "BKE <n>", "BKF", "STP P|N", "DEF ON|OF",
// "SAV" (current set-up becomes the power-on set-up), "RST" (back to the
// power-on set-up). Anything else, or a value out of range, answers "ERR".
class AreaCamera {
  public:
    static constexpr int kExposureMin = 1;
    static constexpr int kExposureMax = 1'000'000;
    static constexpr int kGainMin = 0;
    static constexpr int kGainMax = 24;
    static constexpr int kBlackLevelMin = -2048;
    static constexpr int kBlackLevelMax = 2047;
    static constexpr std::string_view kIdentity = "QM71 Camera Emulator 1.0";
    static constexpr std::string_view kAck = "\r";
    static constexpr std::string_view kError = "ERR\r";

    // A camera fresh from the factory: power-on set-up = factory set-up.
    AreaCamera() = default;
    explicit AreaCamera(const AreaCameraSettings& powerOn) : current_(powerOn), stored_(powerOn) {}

    // Runs one command given without its CR; returns the whole reply with CR.
    std::string Execute(std::string_view command);

    const AreaCameraSettings& Settings() const { return current_; }
    void SetSettings(const AreaCameraSettings& settings) { current_ = settings; }
    // The set-up the camera comes up with (changed by SAV).
    const AreaCameraSettings& StoredSettings() const { return stored_; }
    // Switching off and on again: the stored set-up becomes current.
    void PowerCycle() { current_ = stored_; }

  private:
    std::string Query(std::string_view mnemonic) const;
    bool Set(std::string_view mnemonic, std::string_view argument);

    AreaCameraSettings current_;
    AreaCameraSettings stored_;
};

}  // namespace qm71::sim
