#pragma once

#include <array>

#include "platform/accelerator.h"

namespace qm71::sample {

// Command ids of the sample program's main window; F1..F8 give 1000..1007.
enum CommandId : int {
    ID_GRAB_FIRST = 1000,  // F1 .. F8: ID_GRAB_FIRST + 0 .. 7
    ID_GRAB_LAST = 1007,
    ID_SIZE = 1010,
    ID_ABOUT = 1020,
    ID_LUT_FIRST = 1030,  // "Lut 0" .. "Lut 4": ID_LUT_FIRST + 0 .. 4
    ID_LUT_LAST = 1034,
};

// F1..F8 grab; the menu shows the key after a tab, so the items carry no
// shortcut of their own.
inline constexpr auto kSampleAccelerators = [] {
    std::array<Accelerator, ID_GRAB_LAST - ID_GRAB_FIRST + 1> table{};
    for (int i = 0; i < int(table.size()); ++i)
        table[std::size_t(i)] = {std::uint16_t(kKeyF1 + i), kModNone, ID_GRAB_FIRST + i};
    return table;
}();

// The "&Lut" items, by table.
inline constexpr const char* kLutMenuTexts[] = {"Lut 0 - normal 8-bit", "Lut 1 - inverse 8-bit",
                                                "Lut 2 - normal 16-bit", "Lut 3 - inverse 16-bit",
                                                "Lut 4 - 16-bit 5+5+5 bit RGB"};

// The image-size dialog and its controls.
enum SizeDialogId : int {
    IDD_SIZE = 5000,
    IDD_ABOUT = 5001,
    IDC_WIDTH = 2100,
    IDC_HEIGHT = 2101,
    IDC_ILUT = 2200,
    IDC_AVERAGING_FIRST = 3000,  // "aus", 2, 4 .. 256: 3000 + k
    IDC_AVERAGING_LAST = 3008,
    IDC_CONTRAST = 3020,
};

}  // namespace qm71::sample
