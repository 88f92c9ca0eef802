#pragma once

#include <cstdint>

#include "platform/driver_channel.h"
#include "platform/operator.h"

namespace qm71 {

// The program's one link to the card's driver: the handle and the two request
// records. When the driver could not be opened every request fails and leaves
// the caller's values as they were.
class Driver {
  public:
    explicit Driver(DriverChannel& channel) : channel_(channel) {}
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // Opens the driver's device; false when there is none.
    bool Open();

    // Sends one sub-command; both values are updated with the driver's answer.
    bool DriverCommand(SubCommand subCommand, std::uint16_t& value1, std::uint16_t& value2);
    // For requests whose answer nobody reads.
    bool Send(SubCommand subCommand, std::uint16_t value1 = 0, std::uint16_t value2 = 0);

    // The program's line request record; TransferLine sends it as it stands.
    LineRequest& Line() { return line_; }
    bool TransferLine();

    // QueryBase: the base the driver reports when a card may sit there, else
    // 0x320. `value2` is what the request left in its second value.
    std::uint16_t QueryCardBase(std::uint16_t& value2);
    // BeginTable, then the card's 1024-entry lookup in pairs, entry k = k * step.
    void SendTable(std::uint16_t step);

    bool IsOpen() const { return open_; }
    // CloseCard, then the handle; the line request forgets its destination.
    // Safe to call more than once.
    void CloseGrabber();

  private:
    DriverChannel& channel_;
    bool open_ = false;
    LineRequest line_{};
};

// What tells the programs' card bring-up apart.
struct CardLoad {
    std::uint16_t tableStep;     // lookup entry k = k * tableStep
    std::uint16_t lines;         // SetParameter's lines per acquisition
    bool parameterFirst;         // SetParameter before the table, else after it
    bool downloadValue2Cleared;  // Download's second value 0, else as QueryBase left it
    Operator* downloadErrors;    // where a Download error is shown; null: not looked at
};

struct LoadedCard {
    std::uint16_t base;
    int downloadAttempts;  // high byte of Download's answer
};

// Loads the opened card: QueryBase, Download with the base, the base into the
// line request, PostDownload with Download's answer, the lookup table and
// SetParameter (in the order `load` asks), then Commit with what SetParameter
// returned.
LoadedCard LoadCard(Driver& driver, const CardLoad& load);

}  // namespace qm71
