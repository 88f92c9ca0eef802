#pragma once

#include <array>

#include "platform/accelerator.h"

namespace qm71::qm {

// Command ids of the viewer's main window.
enum CommandId : int {
    ID_CONTROL_PANEL = 32781,
    ID_LUT_INVERSE = 32782,
    ID_LUT_NORMAL = 32783,
    ID_LUT_THRESHOLD = 32784,
    ID_COLOURS = 32785,
    ID_FG_NEXT = 32790,
    ID_BG_NEXT = 32791,
    ID_FG_PREVIOUS = 32792,
    ID_BG_PREVIOUS = 32793,
    ID_THRESH_UP = 32794,
    ID_THRESH_DOWN = 32795,
    ID_THRESH_PAGE_DOWN = 32796,
    ID_THRESH_PAGE_UP = 32797,
    ID_SCALE_1 = 32800,
    ID_SCALE_2 = 32801,
    ID_SCALE_0 = 32802,
    ID_SCALE_3 = 32803,
    ID_REFIT = 32804,
    ID_LIVE = 32808,
    ID_REDRAW_OTHERS = 32810,
    ID_APP_EXIT = 57665,  // ends the program
    ID_HELP = 57670,
};

// Accelerator table 130 of the viewer.
inline constexpr std::array<Accelerator, 24> kViewerAccelerators{{
    {'O', kModControl, ID_CONTROL_PANEL},
    {'N', kModControl, ID_LUT_NORMAL},
    {'I', kModControl, ID_LUT_INVERSE},
    {'T', kModControl, ID_LUT_THRESHOLD},
    {'S', kModControl, ID_COLOURS},
    {'H', kModControl, ID_BG_NEXT},
    {'H', kModControl | kModShift, ID_BG_PREVIOUS},
    {'V', kModControl, ID_FG_NEXT},
    {'V', kModControl | kModShift, ID_FG_PREVIOUS},
    {kKeyUp, kModNone, ID_THRESH_UP},
    {kKeyDown, kModNone, ID_THRESH_DOWN},
    {kKeyPrior, kModNone, ID_THRESH_PAGE_UP},
    {kKeyNext, kModNone, ID_THRESH_PAGE_DOWN},
    {'5', kModControl, ID_SCALE_0},
    {'1', kModControl, ID_SCALE_1},
    {'2', kModControl, ID_SCALE_2},
    {'4', kModControl, ID_SCALE_3},
    {'Z', kModControl, ID_REFIT},
    {'R', kModControl, ID_REDRAW_OTHERS},
    {kKeyF5, kModNone, ID_LIVE},
    {kKeyF1, kModNone, ID_HELP},
    {kKeyF1, kModControl, ID_HELP},
    {kKeyF1, kModAlt, ID_HELP},
    {kKeyF1, kModShift, ID_HELP},
}};

}  // namespace qm71::qm
