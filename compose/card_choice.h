#pragma once

#include <iosfwd>
#include <memory>
#include <string_view>

#include "platform/clock.h"
#include "platform/driver_channel.h"
#include "platform/system_driver.h"
#include "sim/card/card_options.h"

namespace qm71 {

// Which camera the program drives: the simulated card then runs the area
// camera (QM) or the line camera (QMDEMO) by default.
enum class CameraKind { kArea, kLine };

// A PC without the card's driver: Open() fails, so does every request.
class NoDriverChannel final : public DriverChannel {
  public:
    bool Open() override { return false; }
    bool Command(DriverRequest&) override { return false; }
    bool TransferLine(const LineRequest&) override { return false; }
    void Close() override {}
};

// The card the program talks to, chosen by the environment:
//   QM71_DEVICE  the system's driver by its name (see ThisSystemsDriver; the
//                default where there is one); sim = SimulatedCard (the default
//                elsewhere); none = no driver; anything else is reported and
//                treated as none.
//   QM71_SIM     options over the camera's defaults (see ParseCardOptions); a bad text is
//                reported and the defaults are used. With `trace` every request
//                is written to the message stream (see TracingChannel).
// Says on standard error which card is used.
std::unique_ptr<DriverChannel> MakeDriverChannel(Clock& clock, CameraKind camera);

// The card QM71_DEVICE names: when unset or empty, the system's driver where
// there is one, else "sim"; an unknown name is reported on `messages` and
// stands for no card, as "none" does.
std::string_view ChosenDevice(const char* device, std::ostream& messages,
                              const SystemDriver& system = ThisSystemsDriver());

// `defaults` with the QM71_SIM text over them; a bad text is reported on
// `messages` and the defaults are kept. Says which card is used.
sim::CardOptions ReadCardOptions(sim::CardOptions defaults, const char* simOptions,
                                 std::ostream& messages);

// The same with the two settings and the message stream given; a null setting
// counts as unset. A system driver that cannot be used leaves no driver.
std::unique_ptr<DriverChannel> MakeDriverChannel(Clock& clock, CameraKind camera,
                                                 const char* device, const char* simOptions,
                                                 std::ostream& messages,
                                                 const SystemDriver& system = ThisSystemsDriver());

}  // namespace qm71
