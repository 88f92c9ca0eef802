#include "viewer/camera/camera_reply.h"

#include <algorithm>
#include <limits>

namespace qm71 {

namespace {

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool BeginsWithBkf(std::string_view text) {
    return text.size() >= 3 && Upper(text[0]) == 'B' && Upper(text[1]) == 'K' &&
           Upper(text[2]) == 'F';
}

}  // namespace

std::string_view ReplyText(std::string_view raw) {
    const auto end = raw.find('\0');
    return end == std::string_view::npos ? raw : raw.substr(0, end);
}

bool IsAcknowledged(std::string_view text) {
    return !text.empty() && text.front() == '\r';
}

bool IsSaveAccepted(std::string_view text) {
    return IsAcknowledged(text) || BeginsWithBkf(text);
}

std::optional<int> ParseSelectorReply(std::string_view text, std::size_t offset,
                                      std::string_view letters) {
    if (offset >= text.size()) return std::nullopt;
    const auto at = letters.find(text[offset]);
    if (at == std::string_view::npos) return std::nullopt;
    return static_cast<int>(at) + 1;
}

std::optional<int> ParseNumericReply(std::string_view text) {
    if (text.size() <= 4) return std::nullopt;
    return ParseLeadingInt(text.substr(4));
}

std::optional<int> ParseBlackLevelReply(std::string_view text, int factoryValue) {
    if (BeginsWithBkf(text)) return factoryValue;
    return ParseNumericReply(text);
}

std::string IdentityText(std::string_view raw) {
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    return std::string(ReplyText(raw));
}

int LimitGain(int value) {
    // Clearing bit 0 of a two's-complement value rounds towards minus infinity.
    const int even = static_cast<int>(static_cast<unsigned>(value) & ~1u);
    return std::clamp(even, 0, 24);
}

int LimitBlackLevel(int value) {
    return std::clamp(value, -2048, 2047);
}

}  // namespace qm71
