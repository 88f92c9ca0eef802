// The command families of the camera: what each one sends and how its reply is read.
#include <string>

#include "resources/qm/strings.h"
#include "viewer/camera/camera_port.h"
#include "viewer/camera/camera_reply.h"

namespace qm71 {

// A family whose setting is one of a few named states. Its command texts are a
// run in the string table: the query, then the set text of selector 1..count.
// The query reply names the state by one letter at a fixed offset.
struct CameraPort::SelectorFamily {
    int queryId;
    int count;
    std::size_t letterOffset;
    std::string_view letters;  // letter of selector 1, 2, ...
    std::string_view errorPrefix;
    WriteReport writeReport;
    // The shutter query reports only the letter it did not know, behind its own prefix.
    std::string_view queryLetterPrefix = {};
};

struct CameraPort::NumericFamily {
    int queryArgument;
    int queryId;
    int formatId;
    std::string_view errorPrefix;
};

namespace {

// Fills "%d" of a format text with a signed decimal.
std::string FormatCommand(std::string_view format, int value) {
    std::string text(format);
    if (const auto at = text.find("%d"); at != std::string::npos) {
        text.replace(at, 2, std::to_string(value));
    }
    return text;
}

constexpr int kNumericFallback = 200;

}  // namespace

int CameraPort::ExchangeSelector(const SelectorFamily& family, int s) {
    // Only the query and the listed selectors have texts of their own; the ids
    // after the run belong to the next family.
    if (s < 0 || s > family.count) return s;
    const auto reply = Exchange(qm::ResourceString(family.queryId + s), family.writeReport);
    if (!reply) return s;
    const std::string_view text = ReplyText(*reply);
    if (s != 0) {
        if (!IsAcknowledged(text)) op_.Message(std::string(family.errorPrefix) + std::string(text));
        return s;
    }
    if (const auto selector = ParseSelectorReply(text, family.letterOffset, family.letters)) {
        return *selector;
    }
    if (!family.queryLetterPrefix.empty()) {
        std::string message(family.queryLetterPrefix);
        if (family.letterOffset < text.size()) message += text[family.letterOffset];
        op_.Message(message);
    } else {
        op_.Message(std::string(family.errorPrefix) + std::string(text));
    }
    return 1;
}

int CameraPort::ExchangeMode(int s) {
    static const SelectorFamily kMode{
        qm::IDS_MODE_QUERY, 3, 5, "RSD", "Kamera MDE Error!: ", WriteReport::Plain};
    return ExchangeSelector(kMode, s);
}

int CameraPort::ExchangeShutter(int s) {
    static const SelectorFamily kShutter{
        qm::IDS_SHUTTER_QUERY, 3, 5, "NOC", "Kamera SHE Error!: ", WriteReport::Plain,
        "2Kamera SHE Error!: "};
    return ExchangeSelector(kShutter, s);
}

int CameraPort::ExchangeTriggerPolarity(int s) {
    static const SelectorFamily kTrigger{
        qm::IDS_TRIGGER_QUERY, 3, 4, "PNO", "Kamera TR Error!: ", WriteReport::WithCount};
    return ExchangeSelector(kTrigger, s);
}

int CameraPort::ExchangeStrobePolarity(int s) {
    static const SelectorFamily kStrobe{
        qm::IDS_STROBE_QUERY, 2, 4, "PN", "Kamera STP Error!: ", WriteReport::WithCount};
    return ExchangeSelector(kStrobe, s);
}

int CameraPort::ExchangeDefectConceal(int s) {
    static const SelectorFamily kDefect{
        qm::IDS_DEFECT_QUERY, 2, 5, "NF", "Kamera DEF Error!: ", WriteReport::WithCount};
    return ExchangeSelector(kDefect, s);
}

bool CameraPort::SendSetting(std::string_view command, std::string_view errorPrefix,
                             WriteReport report) {
    const auto reply = Exchange(command, report);
    if (!reply) return false;
    const std::string_view text = ReplyText(*reply);
    if (!IsAcknowledged(text)) op_.Message(std::string(errorPrefix) + std::string(text));
    return true;
}

int CameraPort::ExchangeNumeric(const NumericFamily& family, int v, int sent) {
    if (v == family.queryArgument) {
        const auto reply = Exchange(qm::ResourceString(family.queryId), WriteReport::Plain);
        if (!reply) return v;
        const std::string_view text = ReplyText(*reply);
        if (const auto value = ParseNumericReply(text)) return *value;
        op_.Message(std::string(family.errorPrefix) + std::string(text));
        return kNumericFallback;
    }
    const bool wentOut = SendSetting(FormatCommand(qm::ResourceString(family.formatId), sent),
                                     family.errorPrefix, WriteReport::Plain);
    return wentOut ? sent : v;
}

int CameraPort::ExchangeExposure(int v) {
    static const NumericFamily kExposure{ExposureQuery, qm::IDS_EXPOSURE_QUERY,
                                         qm::IDS_EXPOSURE_SET, "Kamera EXE Error!: "};
    return ExchangeNumeric(kExposure, v, v);
}

int CameraPort::ExchangeGain(int v) {
    static const NumericFamily kGain{GainQuery, qm::IDS_GAIN_QUERY, qm::IDS_GAIN_SET,
                                     "Kamera GAIN Error!: "};
    return ExchangeNumeric(kGain, v, v == GainQuery ? v : LimitGain(v));
}

int CameraPort::ExchangeBlackLevel(int v) {
    if (v == BlackLevelQuery) {
        const auto reply = Exchange(qm::ResourceString(qm::IDS_BLACK_QUERY), WriteReport::Plain);
        if (!reply) return BlackLevelFactory;
        const std::string_view text = ReplyText(*reply);
        if (const auto value = ParseBlackLevelReply(text, BlackLevelFactory)) return *value;
        op_.Message("Kamera BKE Error!: " + std::string(text));
        return BlackLevelFactory;
    }
    if (v == BlackLevelFactory) {
        SendSetting(qm::ResourceString(qm::IDS_BLACK_FACTORY),
                    "Kamera BKF Error!: ", WriteReport::Plain);
        return v;
    }
    const int sent = LimitBlackLevel(v);
    const bool wentOut = SendSetting(FormatCommand(qm::ResourceString(qm::IDS_BLACK_SET), sent),
                                     "Kamera BKE Error!: ", WriteReport::Plain);
    return wentOut ? sent : v;
}

void CameraPort::SendAndAccept(int commandId, std::string_view errorPrefix) {
    const auto reply = Exchange(qm::ResourceString(commandId), WriteReport::Plain);
    if (!reply) return;
    const std::string_view text = ReplyText(*reply);
    if (!IsSaveAccepted(text)) op_.Message(std::string(errorPrefix) + std::string(text));
}

void CameraPort::SaveToCamera() {
    SendAndAccept(qm::IDS_SAVE, "Kamera SAV Error!: ");
}

void CameraPort::ResetCamera() {
    SendAndAccept(qm::IDS_RESET, "Kamera RST Error!: ");
}

std::optional<std::string> CameraPort::QueryIdentity() {
    const auto reply =
        Exchange(qm::ResourceString(qm::IDS_IDENTITY_QUERY), WriteReport::Silent, kIdentitySize);
    if (!reply) return std::nullopt;
    return IdentityText(*reply);
}

}  // namespace qm71
