#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/leading_int.h"

// Pure helpers that read the camera's replies and shape the values sent to it.
// They see nothing but bytes, so every one of them is safe on any input.
namespace qm71 {

// A reply is zero-terminated after the count read; a zero byte inside it ends
// the text as well. Every test below works on this text.
std::string_view ReplyText(std::string_view raw);

// A set command is acknowledged by a carriage return in the first byte.
bool IsAcknowledged(std::string_view text);

// Save and reset also take a reply beginning with "BKF" in any case.
bool IsSaveAccepted(std::string_view text);

// Selector query: the letter at `offset` picks the selector, the n-th letter of
// `letters` giving selector n. nullopt when the reply is too short or the
// letter is none of them.
std::optional<int> ParseSelectorReply(std::string_view text, std::size_t offset,
                                      std::string_view letters);

// Numeric query: a reply longer than four bytes holds a number from offset 4.
std::optional<int> ParseNumericReply(std::string_view text);

// Black-level query: "BKF" (any case) means the factory level, reported as
// `factoryValue`; otherwise as ParseNumericReply.
std::optional<int> ParseBlackLevelReply(std::string_view text, int factoryValue);

// Identity reply: one trailing carriage return of the bytes read is dropped.
std::string IdentityText(std::string_view raw);

// Gain is even and 0..24: the lowest bit is cleared first, so -3 becomes -4
// and then 0.
int LimitGain(int value);

// Black level is -2048..2047.
int LimitBlackLevel(int value);

}  // namespace qm71
