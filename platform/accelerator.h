#pragma once

#include <cstdint>
#include <span>

namespace qm71 {

// Virtual-key codes the accelerator tables use; letters and digits are their
// upper-case characters.
enum VirtualKey : std::uint16_t {
    VK_MENU = 0x12,  // Alt
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_UP = 0x26,
    VK_DOWN = 0x28,
    VK_F1 = 0x70,  // F1..F12 are VK_F1 + 0..11
    VK_F5 = 0x74,
    VK_F12 = 0x7B,
};

enum Modifier : std::uint8_t { MOD_NONE = 0, MOD_SHIFT = 1, MOD_CONTROL = 2, MOD_ALT = 4 };

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
