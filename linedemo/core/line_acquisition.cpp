#include "linedemo/core/line_acquisition.h"

#include "common/card_wait.h"
#include "linedemo/core/line_geometry.h"

namespace qm71 {

namespace {

// LineCount with value 1 preset to 1, until `done` accepts the count. The
// values the last poll left go on to the next request, as the one request
// record of the driver link does. False when the card fell silent.
template <typename Wait, typename Done>
bool PollLines(Driver& driver, Wait& wait, std::uint16_t& v1, std::uint16_t& v2, Done done) {
    const auto count = [&] {
        v1 = 1;
        driver.DriverCommand(SubCommand::LineCount, v1, v2);
        return v1;
    };
    return wait.Until(count, done);
}

// One transfer: the card's next line becomes line `k` of the image.
void TransferInto(Driver& driver, std::byte* buffer, int k) {
    LineRequest& line = driver.Line();
    line.destination = buffer + LineOffset(k);
    line.count = kLineWords;
    driver.TransferLine();
}

}  // namespace

std::uint16_t OpenLineGrabber(Driver& driver, bool trigger) {
    return LoadCard(driver, {.tableStep = 4,
                             .lines = LinesPerAcquisition(trigger),
                             .parameterFirst = false,
                             .downloadValue2Cleared = false,
                             .downloadErrors = nullptr})
        .base;
}

void SetLineMode(Driver& driver, bool trigger) {
    std::uint16_t v1 = kLinesParameter;
    std::uint16_t v2 = LinesPerAcquisition(trigger);
    driver.DriverCommand(SubCommand::SetParameter, v1, v2);
    driver.DriverCommand(SubCommand::Commit, v1, v2);
}

bool FreeRunImage(Driver& driver, Clock& clock, std::byte* buffer) {
    std::uint16_t v1 = 0, v2 = 0;
    StreamWait wait(clock, kLineCount);
    driver.DriverCommand(SubCommand::ArmFrame, v1, v2);
    if (!PollLines(driver, wait, v1, v2, [](std::uint16_t n) { return n != 0; })) return false;
    driver.DriverCommand(SubCommand::BeginReadout, v1, v2);
    TransferInto(driver, buffer, 0);
    for (int i = 1; i < kLineCount; ++i) {
        if (!PollLines(driver, wait, v1, v2, [i](std::uint16_t n) { return n != i; })) return false;
        TransferInto(driver, buffer, i);
    }
    return true;
}

bool TriggeredImage(Driver& driver, Clock& clock, std::byte* buffer) {
    CardWait wait(clock);
    for (int i = 0; i < kTriggeredLines; ++i) {
        driver.Send(SubCommand::TriggerControl, 0, 0);
        driver.Send(SubCommand::TriggerControl, 0, 1);
        std::uint16_t v1 = 0, v2 = 0;
        if (!PollLines(driver, wait, v1, v2, [](std::uint16_t n) { return n != 0; })) return false;
        driver.DriverCommand(SubCommand::BeginReadout, v1, v2);
        TransferInto(driver, buffer, i);
    }
    return true;
}

}  // namespace qm71
