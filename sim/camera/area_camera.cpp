#include "sim/camera/area_camera.h"

#include <charconv>

namespace qm71::sim {

namespace {

// A whole decimal number, optional sign, nothing else around it.
std::optional<int> ParseNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    if (text.empty()) return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<int> ParseInRange(std::string_view text, int low, int high) {
    const auto value = ParseNumber(text);
    if (!value || *value < low || *value > high) return std::nullopt;
    return value;
}

std::string_view PolarityText(Polarity p) {
    return p == Polarity::Positive ? "P" : "N";
}

std::optional<Polarity> ParsePolarity(std::string_view text) {
    if (text == "P") return Polarity::Positive;
    if (text == "N") return Polarity::Negative;
    return std::nullopt;
}

}  // namespace

std::string AreaCamera::Execute(std::string_view command) {
    if (command.size() < 3) return std::string(kError);
    const std::string_view mnemonic = command.substr(0, 3);
    const std::string_view rest = command.substr(3);

    if (rest == "?") {
        if (mnemonic == "IDN") return std::string(kIdentity) + "\r";
        std::string reply = Query(mnemonic);
        return reply.empty() ? std::string(kError) : reply + "\r";
    }
    std::string_view argument;
    if (!rest.empty()) {
        // One blank separates mnemonic and argument.
        if (rest.front() != ' ' || rest.size() < 2) return std::string(kError);
        argument = rest.substr(1);
    }
    return Set(mnemonic, argument) ? std::string(kAck) : std::string(kError);
}

std::string AreaCamera::Query(std::string_view mnemonic) const {
    const AreaCameraSettings& s = current_;
    if (mnemonic == "MDE") {
        switch (s.mode) {
            case CameraMode::Trigger:
                return "MDE TR";
            case CameraMode::Continuous:
                return "MDE CS";
            case CameraMode::Controlled:
                return "MDE CD";
        }
    }
    if (mnemonic == "SHE") {
        switch (s.shutter) {
            case ShutterMode::On:
                return "SHE ON";
            case ShutterMode::Open:
                return "SHE FO";
            case ShutterMode::Close:
                return "SHE FC";
        }
    }
    if (mnemonic == "EXE") return "EXE " + std::to_string(s.exposure);
    if (mnemonic == "TRM") {
        if (!s.triggerEnabled) return "TRM OFF";
        return "TRM " + std::string(PolarityText(s.triggerPolarity));
    }
    if (mnemonic == "GAE") return "GAE " + std::to_string(s.gain);
    if (mnemonic == "BKE") return s.blackLevel ? "BKE " + std::to_string(*s.blackLevel) : "BKF";
    if (mnemonic == "STP") return "STP " + std::string(PolarityText(s.strobePolarity));
    if (mnemonic == "DEF") return s.defectConcealment ? "DEF ON" : "DEF OF";
    return {};
}

bool AreaCamera::Set(std::string_view mnemonic, std::string_view argument) {
    AreaCameraSettings& s = current_;
    const std::string_view m = mnemonic;
    const std::string_view a = argument;

    if (a.empty()) {
        if (m == "BKF") {
            s.blackLevel.reset();
        } else if (m == "SAV") {
            stored_ = current_;
        } else if (m == "RST") {
            current_ = stored_;
        } else {
            return false;
        }
        return true;
    }
    if (m == "MDE") {
        if (a == "TR") {
            s.mode = CameraMode::Trigger;
        } else if (a == "CS") {
            s.mode = CameraMode::Continuous;
        } else if (a == "CD") {
            s.mode = CameraMode::Controlled;
        } else {
            return false;
        }
        return true;
    }
    if (m == "SHE") {
        if (a == "ON") {
            s.shutter = ShutterMode::On;
        } else if (a == "OF" || a == "FO") {
            s.shutter = ShutterMode::Open;
        } else if (a == "FC") {
            s.shutter = ShutterMode::Close;
        } else {
            return false;
        }
        return true;
    }
    if (m == "EXE") {
        const auto v = ParseInRange(a, kExposureMin, kExposureMax);
        if (v) s.exposure = *v;
        return v.has_value();
    }
    if (m == "TRM" || m == "STP") {
        const auto p = ParsePolarity(a);
        if (!p) return false;
        if (m == "TRM") {
            s.triggerPolarity = *p;
            s.triggerEnabled = true;
        } else {
            s.strobePolarity = *p;
        }
        return true;
    }
    if (m == "TRE") {
        if (a != "0" && a != "1") return false;
        s.triggerEnabled = a == "0";
        return true;
    }
    if (m == "GAE") {
        const auto v = ParseInRange(a, kGainMin, kGainMax);
        if (v) s.gain = *v;
        return v.has_value();
    }
    if (m == "BKE") {
        const auto v = ParseInRange(a, kBlackLevelMin, kBlackLevelMax);
        if (v) s.blackLevel = *v;
        return v.has_value();
    }
    if (m == "DEF") {
        if (a != "ON" && a != "OF") return false;
        s.defectConcealment = a == "ON";
        return true;
    }
    return false;
}

}  // namespace qm71::sim
