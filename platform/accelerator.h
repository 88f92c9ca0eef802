#pragma once

#include <cstdint>
#include <span>

namespace qm71 {

// Virtual-key codes the accelerator tables use; letters and digits are their
// upper-case characters.
enum VirtualKey : std::uint16_t {
    kKeyMenu = 0x12,  // Alt
    kKeyPrior = 0x21,
    kKeyNext = 0x22,
    kKeyUp = 0x26,
    kKeyDown = 0x28,
    kKeyF1 = 0x70,  // F1..F12 are kKeyF1 + 0..11
    kKeyF5 = 0x74,
    kKeyF12 = 0x7B,
};

enum Modifier : std::uint8_t { kModNone = 0, kModShift = 1, kModControl = 2, kModAlt = 4 };

// One entry of an accelerator table: a key with exactly these modifiers held
// sends the command.
struct Accelerator {
    std::uint16_t key;
    std::uint8_t modifiers;
    int command;
};

// The command `table` gives `key` pressed with exactly `modifiers` held, or 0.
constexpr int FindAccelerator(std::span<const Accelerator> table, std::uint16_t key,
                              std::uint8_t modifiers) {
    for (const Accelerator& a : table)
        if (a.key == key && a.modifiers == modifiers) return a.command;
    return 0;
}

}  // namespace qm71
