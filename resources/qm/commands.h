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
    {'5', MOD_CONTROL, ID_SCALE_0},
    {'1', MOD_CONTROL, ID_SCALE_1},
    {'2', MOD_CONTROL, ID_SCALE_2},
    {'4', MOD_CONTROL, ID_SCALE_3},
    {'Z', MOD_CONTROL, ID_REFIT},
    {'R', MOD_CONTROL, ID_REDRAW_OTHERS},
    {VK_F5, MOD_NONE, ID_LIVE},
    {VK_F1, MOD_NONE, ID_HELP},
    {VK_F1, MOD_CONTROL, ID_HELP},
    {VK_F1, MOD_ALT, ID_HELP},
    {VK_F1, MOD_SHIFT, ID_HELP},
}};

}  // namespace qm71::qm
