#include "sim/camera/camera_protocol.h"

#include <cstdint>
#include <cstdio>
#include <utility>

namespace qm71::sim {

namespace {
constexpr std::byte kXon{0x11};
constexpr std::byte kXoff{0x13};
constexpr std::byte kCr{0x0D};
constexpr std::size_t kGarbageMaxLength = 12;
constexpr std::size_t kMaxKeptExchanges = 1024;
}  // namespace

std::vector<Exchange> CameraProtocol::TakeExchanges() {
    return std::exchange(exchanges_, {});
}

void CameraProtocol::RecordExchange(std::vector<std::byte> command, std::vector<std::byte> reply) {
    // Nobody may be collecting; keep the memory bounded.
    if (exchanges_.size() >= kMaxKeptExchanges) exchanges_.erase(exchanges_.begin());
    exchanges_.push_back(Exchange{std::move(command), std::move(reply)});
}

std::vector<std::byte> CameraProtocol::NextGarbage() {
    // xorshift32: cheap, repeatable, and random-looking enough for a parser.
    auto next = [this] {
        noise_ ^= noise_ << 13;
        noise_ ^= noise_ >> 17;
        noise_ ^= noise_ << 5;
        return noise_;
    };
    const std::size_t length = 1 + next() % kGarbageMaxLength;
    std::vector<std::byte> out;
    out.reserve(length);
    while (out.size() < length) {
        const auto b = static_cast<std::byte>(next() & 0xFFu);
        if (b == kXon || b == kXoff || b == kCr) continue;
        out.push_back(b);
    }
    return out;
}

std::string EscapeBytes(std::span<const std::byte> bytes) {
    std::string out;
    for (std::byte b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        switch (c) {
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                if (c >= 0x20 && c < 0x7F) {
                    out += static_cast<char>(c);
                } else {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "\\x%02X", c);
                    out += hex;
                }
        }
    }
    return out;
}

std::string EscapeBytes(std::string_view text) {
    return EscapeBytes(std::as_bytes(std::span(text.data(), text.size())));
}

std::string HexBytes(std::span<const std::byte> bytes) {
    std::string out;
    for (std::byte b : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", std::to_integer<unsigned>(b));
        if (!out.empty()) out += ' ';
        out += hex;
    }
    return out;
}

std::vector<std::byte> ToBytes(std::string_view text) {
    const auto bytes = std::as_bytes(std::span(text.data(), text.size()));
    return {bytes.begin(), bytes.end()};
}

std::string ToText(std::span<const std::byte> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace qm71::sim
