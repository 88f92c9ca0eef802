#pragma once

#include <cstdint>

#include "platform/card_service.h"

namespace qm71::sample {

// The card's five lookup tables. Each is loaded as 512 ordered pairs computed
// from the pair's index alone; the program keeps no copy and applies no
// lookup itself.
inline constexpr int kLutPairs = kLookupTableValues / 2;

struct LutPair {
    std::uint32_t first;
    std::uint32_t second;
};

// Pair i (0..511) of table n (0..4).
LutPair LutEntry(int table, int index);

// Loads table 0 to 4, each completely before the next, then makes table 0
// the active one.
void LoadLookupTables(CardService& card);

// Makes table n active: one service call, nothing remembered.
void ActivateLookupTable(CardService& card, int table);

}  // namespace qm71::sample
