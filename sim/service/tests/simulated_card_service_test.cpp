#include "sim/service/simulated_card_service.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace qm71::sim {
namespace {

using namespace std::chrono_literals;
using enum ServiceFunction;
constexpr std::uint16_t kPort = SimulatedCardService::kDataPort;

void LoadTable(CardService& card, std::uint32_t n, std::uint32_t (*value)(std::uint32_t)) {
    card.Call(OpenTable, 1024, n);
    for (std::uint32_t i = 0; i < 512; ++i)
        card.Call(StoreTablePair, value(2 * i), value(2 * i + 1));
}

// One frame as the library's set-up asks for it.
std::vector<std::uint32_t> Grab(CardPortPair& card, std::uint32_t w, std::uint32_t h,
                                std::uint32_t mode) {
    card.Call(SetGeometry, w, h);
    card.Call(PrepareFrame, 0, 0);
    const auto port = static_cast<std::uint16_t>(card.Call(SetMode, mode, 1));
    card.Call(StartFrame, 0, port);
    std::vector<std::uint32_t> words(w * h / (mode == kMode16Bit ? 2 : 4));
    card.In32Block(port, words);
    return words;
}

TEST(SimulatedCardService, TheActiveTableShapesTheData) {
    ManualClock clock;
    SimulatedCardService card(clock, {.fps = 0});
    LoadTable(card, 1, [](std::uint32_t s) { return 1023 - s; });
    LoadTable(card, 2, [](std::uint32_t s) { return s * 64 + 1; });

    const auto plain = Grab(card, 512, 256, kMode8Bit);
    // The picture repeats after 16 frames: the inverse grab sees the same one.
    for (int i = 0; i < 15; ++i) Grab(card, 512, 256, kMode8Bit);
    card.Call(ActivateTable, 1, 0);
    const auto inverse = Grab(card, 512, 256, kMode8Bit);
    card.Call(ActivateTable, 2, 0);
    const auto wide = Grab(card, 512, 256, kMode16Bit);

    const auto* p = reinterpret_cast<const std::uint8_t*>(plain.data());
    const auto* q = reinterpret_cast<const std::uint8_t*>(inverse.data());
    const auto* r = reinterpret_cast<const std::uint16_t*>(wide.data());
    EXPECT_EQ(std::tuple(p[0], p[511], q[0], q[511]), std::tuple(0, 255, 255, 0));
    EXPECT_EQ(std::tuple(r[0], r[511]), std::tuple(1, 1023 * 64 + 1));
    for (std::size_t i = 0; i < 512 * 256; ++i) ASSERT_EQ(q[i], 255 - p[i]) << i;
}

// Rows read bottom-up are the streamed frame; reads before the mode is set,
// from another port or past the frame's end give all ones.
TEST(SimulatedCardService, RowsFillABottomUpPictureWithTheStreamedRows) {
    ManualClock clock;
    SimulatedCardService streamed(clock, {.fps = 0}), rows(clock, {.fps = 0});
    const auto words = Grab(streamed, 512, 256, kMode8Bit);
    rows.Call(SetGeometry, 512, 256);
    EXPECT_EQ(rows.In32(kPort), 0xFFFFFFFFu);
    rows.Call(StartFrame, 0, rows.Call(SetMode, kMode8Bit, 1));
    std::vector<std::byte> picture(512 * 256);
    rows.In32Rows(kPort + 4, picture.data(), 128, 1, 512);
    EXPECT_EQ(picture.front(), std::byte{0xFF});
    rows.In32Rows(kPort, picture.data() + 255 * 512, 128, 256, -512);
    for (std::size_t r = 0; r < 256; ++r)
        ASSERT_EQ(std::memcmp(picture.data() + (255 - r) * 512, words.data() + r * 128, 512), 0)
            << r;
    EXPECT_EQ(rows.In32(kPort), 0xFFFFFFFFu);
}

TEST(SimulatedCardService, FramesArePacedAndNoReadWaitsLongerThanAPeriod) {
    ManualClock clock;
    SimulatedCardService card(clock, {.fps = 10});
    Grab(card, 512, 256, kMode8Bit);
    EXPECT_EQ(clock.Now(), 100ms);
    // Half a frame is there half a period after the start.
    card.Call(StartFrame, 0, kPort);
    const auto start = clock.Now();
    std::vector<std::uint32_t> half(512 * 128 / 4);
    card.In32Block(kPort, half);
    EXPECT_EQ(clock.Now() - start, 50ms);
    // A frame asked for at once after another starts a period after it;
    // reading all of it still waits one period, not two.
    card.Call(NextFrame, 0, kPort);
    const auto before = clock.Now();
    std::vector<std::uint32_t> whole(512 * 256 / 4);
    card.In32Block(kPort, whole);
    EXPECT_EQ(clock.Now() - before, 100ms);
}

}  // namespace
}  // namespace qm71::sim
