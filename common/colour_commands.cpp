#include "common/colour_commands.h"

#include <cstdint>
#include <utility>

namespace qm71 {

namespace {
ColourCommandResult StepThreshold(ColouringSettings& c, int delta, bool allowed) {
    // A stored threshold at the end of int has no room for the step (Down at
    // INT_MIN): refused like a step past the limits.
    const std::int64_t stepped = std::int64_t{c.thresh} + delta;
    if (!allowed || !std::in_range<int>(stepped)) return ColourCommandResult::kRefused;
    c.lut = kThreshold;
    c.thresh = static_cast<int>(stepped);
    return ColourCommandResult::kChanged;
}

ColourCommandResult Step(ColouringSettings& c, int& colour, int (*next)(int)) {
    c.lut = kThreshold;
    colour = next(colour);
    return ColourCommandResult::kChanged;
}

ColourCommandResult SetLut(ColouringSettings& c, int lut) {
    c.lut = lut;
    return ColourCommandResult::kChanged;
}
}  // namespace

ColourCommandResult ApplyColourCommand(int id, ColouringSettings& c) {
    switch (id) {
        case kCmdLutNormal:
            return SetLut(c, kNormal);
        case kCmdLutInverse:
            return SetLut(c, kInverse);
        case kCmdLutThreshold:
            return SetLut(c, kThreshold);
        case kCmdBgNext:
            return Step(c, c.bg, NextColour);
        case kCmdBgPrevious:
            return Step(c, c.bg, PreviousColour);
        case kCmdFgNext:
            return Step(c, c.vg, NextColour);
        case kCmdFgPrevious:
            return Step(c, c.vg, PreviousColour);
        case kCmdThreshUp:
            return StepThreshold(c, 1, c.thresh < 255);
        case kCmdThreshDown:
            return StepThreshold(c, -1, c.thresh != 0);
        case kCmdThreshPageUp:
            return StepThreshold(c, 16, c.thresh < 240);
        case kCmdThreshPageDown:
            return StepThreshold(c, -16, c.thresh > 15);
        default:
            return ColourCommandResult::kNotColour;
    }
}

}  // namespace qm71
