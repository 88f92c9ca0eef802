#include "sample/core/lookup_tables.h"

namespace qm71::sample {

LutPair LutEntry(int table, int index) {
    const auto i = static_cast<std::uint32_t>(index);
    switch (table) {
        case 0:
            return {2 * i, 2 * i + 1};
        case 1:
            return {1023 - 2 * i, 1022 - 2 * i};
        case 2:
            return {128 * i, 128 * i + 1};
        case 3:
            return {128 * (511 - i) + 64, 128 * (511 - i)};
        default: {
            // A grey level: g in the blue, green and red fields of a 5-5-5 word.
            const std::uint32_t g = (i >> 4) & 31;
            return {g * 1057, g * 1057};
        }
    }
}

void LoadLookupTables(CardService& card) {
    for (int table = 0; table < kLookupTables; ++table) {
        card.Call(ServiceFunction::OpenTable, kLookupTableValues,
                  static_cast<std::uint32_t>(table));
        for (int i = 0; i < kLutPairs; ++i) {
            const LutPair pair = LutEntry(table, i);
            card.Call(ServiceFunction::StoreTablePair, pair.first, pair.second);
        }
    }
    ActivateLookupTable(card, 0);
}

void ActivateLookupTable(CardService& card, int table) {
    card.Call(ServiceFunction::ActivateTable, static_cast<std::uint32_t>(table), 0);
}

}  // namespace qm71::sample
