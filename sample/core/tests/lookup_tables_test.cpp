#include "sample/core/lookup_tables.h"

#include <gtest/gtest.h>

#include "testing/scripted_card_service.h"

namespace qm71::sample {
namespace {

using Call = testing::ScriptedCardService::ServiceCall;
using enum ServiceFunction;

TEST(LookupTables, Checkpoints) {
    struct Case {
        int table, index;
        std::uint32_t first, second;
    };
    const Case cases[] = {
        {0, 0, 0, 1},           {0, 511, 1022, 1023},   {1, 0, 1023, 1022},   {1, 511, 1, 0},
        {2, 1, 128, 129},       {2, 511, 65408, 65409}, {3, 0, 65472, 65408}, {3, 1, 65344, 65280},
        {3, 511, 64, 0},        {4, 0, 0, 0},           {4, 15, 0, 0},        {4, 16, 1057, 1057},
        {4, 511, 32767, 32767},
    };
    for (const Case& c : cases) {
        const LutPair pair = LutEntry(c.table, c.index);
        EXPECT_EQ(pair.first, c.first) << c.table << "/" << c.index;
        EXPECT_EQ(pair.second, c.second) << c.table << "/" << c.index;
    }
}

TEST(LookupTables, StartUpLoadsEveryTableInOrderThenActivatesTableZero) {
    testing::ScriptedCardService card;
    LoadLookupTables(card);

    // One begin call and 512 pairs per table, then the selection of table 0.
    ASSERT_EQ(card.calls.size(), 5u * (1 + 512) + 1);
    std::size_t at = 0;
    for (std::uint32_t table = 0; table < 5; ++table) {
        EXPECT_EQ(card.calls[at++], (Call{OpenTable, 1024, table}));
        for (int i = 0; i < 512; ++i, ++at) {
            const LutPair pair = LutEntry(static_cast<int>(table), i);
            ASSERT_EQ(card.calls[at], (Call{StoreTablePair, pair.first, pair.second}))
                << table << "/" << i;
        }
    }
    EXPECT_EQ(card.calls.back(), (Call{ActivateTable, 0, 0}));
}

TEST(LookupTables, MenuActivatesOnlyTheChosenTable) {
    testing::ScriptedCardService card;
    ActivateLookupTable(card, 3);
    EXPECT_EQ(card.calls, (std::vector<Call>{{ActivateTable, 3, 0}}));
}

}  // namespace
}  // namespace qm71::sample
