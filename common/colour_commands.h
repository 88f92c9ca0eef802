#pragma once

#include "common/colour_table.h"
#include "platform/operator.h"

namespace qm71 {

// The colouring keys both programs' main windows share, by command id: the
// three colourings, stepping the background and foreground colours, and
// moving the threshold.
inline constexpr int kCmdLutInverse = 32782;
inline constexpr int kCmdLutNormal = 32783;
inline constexpr int kCmdLutThreshold = 32784;
inline constexpr int kCmdFgNext = 32790;
inline constexpr int kCmdBgNext = 32791;
inline constexpr int kCmdFgPrevious = 32792;
inline constexpr int kCmdBgPrevious = 32793;
inline constexpr int kCmdThreshUp = 32794;
inline constexpr int kCmdThreshDown = 32795;
inline constexpr int kCmdThreshPageDown = 32796;
inline constexpr int kCmdThreshPageUp = 32797;

enum class ColourCommandResult {
    kNotColour,  // the id is none of the colouring keys
    kChanged,    // the settings changed: the lookup must be built again
    kRefused,    // a threshold step past 0..255: beep, nothing changed
};

// Carries out a colouring key on the settings; the lookup is then built again
// by `rebuild`, or a refused step beeps. False when `id` is no colouring key.
template <typename Rebuild>
bool RunColourCommand(int id, ColouringSettings& settings, Operator& op, Rebuild&& rebuild);

// Carries out a colouring key on the settings. A colour step or a threshold
// step switches to threshold colouring; a refused step leaves LUT as it was.
ColourCommandResult ApplyColourCommand(int id, ColouringSettings& settings);

template <typename Rebuild>
bool RunColourCommand(int id, ColouringSettings& settings, Operator& op, Rebuild&& rebuild) {
    switch (ApplyColourCommand(id, settings)) {
        case ColourCommandResult::kChanged:
            rebuild();
            return true;
        case ColourCommandResult::kRefused:
            op.Beep();
            return true;
        case ColourCommandResult::kNotColour:
            break;
    }
    return false;
}

}  // namespace qm71
