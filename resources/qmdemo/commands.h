#pragma once

#include <array>

#include "platform/accelerator.h"

namespace qm71::qmdemo {

// Command ids of the line demo's main window.
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
    ID_SCALE_1_1 = 32800,  // SCALE 3
    ID_SCALE_2_1 = 32801,  // SCALE 4
    ID_SCALE_1_2 = 32802,  // SCALE 2
    ID_SCALE_4_1 = 32803,  // SCALE 5
    ID_REFIT = 32804,
    ID_LIVE = 32808,
    ID_REDRAW_OTHERS = 32810,
    ID_SOFTWARE_TRIGGER = 32813,
    ID_SAVE_NUMBERED = 32814,
    ID_HELP = 57670,
};

// Accelerator table 130 of the line demo. Scales 1:8 and 1:4 have no key;
// the control panel offers them.
inline constexpr std::array<Accelerator, 26> kLineDemoAccelerators{{
    {'O', MOD_CONTROL, ID_CONTROL_PANEL},
    {'N', MOD_CONTROL, ID_LUT_NORMAL},
    {'I', MOD_CONTROL, ID_LUT_INVERSE},
    {'T', MOD_CONTROL, ID_LUT_THRESHOLD},
    {'S', MOD_CONTROL, ID_COLOURS},
    {'H', MOD_CONTROL, ID_BG_NEXT},
    {'H', MOD_CONTROL | MOD_SHIFT, ID_BG_PREVIOUS},
    {'V', MOD_CONTROL, ID_FG_NEXT},
    {'V', MOD_CONTROL | MOD_SHIFT, ID_FG_PREVIOUS},
    {VK_UP, MOD_NONE, ID_THRESH_UP},
    {VK_DOWN, MOD_NONE, ID_THRESH_DOWN},
    {VK_PRIOR, MOD_NONE, ID_THRESH_PAGE_UP},
    {VK_NEXT, MOD_NONE, ID_THRESH_PAGE_DOWN},
    {'1', MOD_CONTROL, ID_SCALE_1_1},
    {'2', MOD_CONTROL, ID_SCALE_2_1},
    {'4', MOD_CONTROL, ID_SCALE_4_1},
    {'5', MOD_CONTROL, ID_SCALE_1_2},
    {'Z', MOD_CONTROL, ID_REFIT},
    {VK_F5, MOD_NONE, ID_LIVE},
    {'R', MOD_CONTROL, ID_REDRAW_OTHERS},
    {VK_F1, MOD_NONE, ID_HELP},
    {VK_F1, MOD_SHIFT, ID_HELP},
    {VK_F1, MOD_CONTROL, ID_HELP},
    {VK_F1, MOD_ALT, ID_HELP},
    {'T', MOD_ALT, ID_SOFTWARE_TRIGGER},
    {'W', MOD_CONTROL, ID_SAVE_NUMBERED},
}};

}  // namespace qm71::qmdemo
