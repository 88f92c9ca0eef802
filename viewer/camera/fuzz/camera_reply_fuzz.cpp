// Arbitrary camera replies through every parser and every command family.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "viewer/camera/camera_port.h"
#include "viewer/camera/camera_reply.h"

namespace {

// A line that is always open and answers every read with the same bytes.
class EchoLine final : public qm71::SerialLine {
  public:
    explicit EchoLine(std::string_view reply) : reply_(reply) {}
    bool Open(const std::string&) override { return true; }
    bool IsOpen() const override { return true; }
    bool GetSettings(qm71::SerialSettings&) override { return true; }
    bool SetSettings(const qm71::SerialSettings&) override { return true; }
    bool SetTimeouts(const qm71::SerialTimeouts&) override { return true; }
    bool SetQueueSizes(std::size_t, std::size_t) override { return true; }
    bool Write(std::span<const std::byte> data, std::size_t& written) override {
        written = data.size();
        return true;
    }
    std::size_t Read(std::span<std::byte> data) override {
        const std::size_t n = std::min(reply_.size(), data.size());
        std::memcpy(data.data(), reply_.data(), n);
        // Claim more than fits to check that the caller does not trust the count.
        return reply_.size() > data.size() ? data.size() + 1 : n;
    }
    void Close() override {}

  private:
    std::string_view reply_;
};

class QuietOperator final : public qm71::Operator {
  public:
    void Message(const std::string& text, const std::string&) override { total_ += text.size(); }
    void Beep() override {}
    void BeginWait() override {}
    void EndWait() override {}

  private:
    std::size_t total_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view raw(reinterpret_cast<const char*>(data), size);

    const std::string_view text = qm71::ReplyText(raw);
    qm71::ParseLeadingInt(raw);
    qm71::IsSaveAccepted(text);
    qm71::ParseNumericReply(text);
    qm71::ParseBlackLevelReply(text, qm71::BlackLevelFactory);
    qm71::IdentityText(raw);
    for (std::size_t offset : {0u, 4u, 5u, 40u}) qm71::ParseSelectorReply(text, offset, "PNO");

    EchoLine line(raw);
    QuietOperator op;
    qm71::CameraPort port(line, op);
    port.OpenCameraPort();
    for (int s = -1; s <= 4; ++s) {
        port.ExchangeMode(s);
        port.ExchangeShutter(s);
        port.ExchangeTriggerPolarity(s);
        port.ExchangeStrobePolarity(s);
        port.ExchangeDefectConceal(s);
    }
    const int value = qm71::ParseLeadingInt(raw);
    for (int v : {-1, value, qm71::BlackLevelQuery, qm71::BlackLevelFactory}) {
        port.ExchangeExposure(v);
        port.ExchangeGain(v);
        port.ExchangeBlackLevel(v);
    }
    port.SaveToCamera();
    port.ResetCamera();
    port.QueryIdentity();
    port.CloseCameraPort();
    return 0;
}
