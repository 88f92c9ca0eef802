#include "sample/core/lookup_tables.h"

#include <gtest/gtest.h>

#include "testing/scripted_card_service.h"

namespace qm71::sample {
namespace {

using Call = testing::ScriptedCardService::ServiceCall;
using enum ServiceFunction;

TEST(LookupTables, Checkpoints) {
    const struct {
        int table, index;
        std::uint32_t first, second;
    } cases[] = {
        {0, 0, 0, 1},           {0, 511, 1022, 1023},   {1, 0, 1023, 1022},   {1, 511, 1, 0},
        {2, 1, 128, 129},       {2, 511, 65408, 65409}, {3, 0, 65472, 65408}, {3, 1, 65344, 65280},
        {3, 511, 64, 0},        {4, 0, 0, 0},           {4, 15, 0, 0},        {4, 16, 1057, 1057},
        {4, 511, 32767, 32767},
    };
    for (const auto& c : cases) {
        const LutPair pair = LutEntry(c.table, c.index);
        EXPECT_EQ(std::pair(pair.first, pair.second), std::pair(c.first, c.second))
            << c.table << "/" << c.index;
    }
}

// At start-up every table in order, then table 0 is activated; the menu
// activates only the table chosen.
TEST(LookupTables, StartUpLoadsEveryTableThenTheMenuActivatesOne) {
    testing::ScriptedCardService card;
    LoadLookupTables(card);
    ActivateLookupTable(card, 3);
    std::vector<Call> expected;
    for (std::uint32_t table = 0; table < 5; ++table) {
        expected.push_back({OpenTable, 1024, table});
        for (int i = 0; i < 512; ++i) {
            const LutPair pair = LutEntry(static_cast<int>(table), i);
            expected.push_back({StoreTablePair, pair.first, pair.second});
        }
    }
    expected.insert(expected.end(), {{ActivateTable, 0, 0}, {ActivateTable, 3, 0}});
    EXPECT_EQ(card.calls, expected);
}

}  // namespace
}  // namespace qm71::sample
