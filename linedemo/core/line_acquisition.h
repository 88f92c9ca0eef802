#pragma once

#include <cstddef>
#include <cstdint>

#include "common/driver.h"
#include "platform/clock.h"

namespace qm71 {

// Words of one line transfer: 5000 pixels of one byte.
inline constexpr std::uint32_t kLineWords = 1250;
// Lines per acquisition in triggered mode: the last line of the image keeps
// what an earlier free-running image left there.
inline constexpr int kTriggeredLines = 639;

// SetParameter's value for the line mode: one line per software trigger, or
// free-running images of 640 lines.
constexpr std::uint16_t LinesPerAcquisition(bool trigger) {
    return trigger ? 1 : 640;
}

// Prepares the opened card for line acquisition: QueryBase, Download,
// PostDownload, the lookup (entry k = 4k), SetParameter for the mode and
// Commit. Returns the card's base address. The Download reply is not looked at.
std::uint16_t OpenLineGrabber(Driver& driver, bool trigger);

// SetParameter for the mode, then Commit with what it returned.
void SetLineMode(Driver& driver, bool trigger);

// Fills `buffer` with one free-running image: ArmFrame, wait for the first
// line, BeginReadout, then 640 line transfers of 1250 words, line k at
// LineOffset(k); line i is read once the card's count differs from i. False when
// the card brought no new line for kCardTimeout: the image is abandoned
// part-way.
bool FreeRunImage(Driver& driver, Clock& clock, std::byte* buffer);

// Fills the first 639 lines of `buffer`, one software trigger per line: a
// rising edge on trigger bit 0, wait for the line, BeginReadout, one
// transfer. False as FreeRunImage.
bool TriggeredImage(Driver& driver, Clock& clock, std::byte* buffer);

}  // namespace qm71
