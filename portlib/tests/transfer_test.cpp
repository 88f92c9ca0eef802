#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "portlib/card_ports.h"
#include "testing/scripted_card_service.h"

namespace qm71 {
namespace {

using Call = testing::ScriptedCardService::ServiceCall;
using enum ServiceFunction;
using Entry = int (*)(const FrameDescriptor*);
constexpr std::uint32_t kPort = testing::ScriptedCardService::dataPort;

class Transfer : public ::testing::Test {
  protected:
    testing::ScriptedCardService card;
    CardPorts ports{&card, &card};
    void SetUp() override {
        InstallCardPorts(ports);
        qm71_set_frame_pending(0);
        qm71_set_keep_sums(0);
    }
    void TearDown() override { qm71_install_ports(nullptr); }
};

TEST_F(Transfer, EveryEntrySetsUpTheCardAndReadsTheWholeFrame) {
    const struct {
        const char* name;
        Entry entry;
        std::uint32_t w, h, mode, words;
    } cases[] = {
        {"DIB512x8", QM71DIB512X256X8, 512, 256, kMode8Bit, 32768},
        {"DIBWxHx8", QM71DIBWXHX8, 640, 240, kMode8Bit, 160 * 240},
        {"IMG512x8", QM71IMG512X256X8, 512, 256, kMode8Bit, 32768},
        {"IMGWxHx8", QM71IMGWXHX8, 640, 240, kMode8Bit, 160 * 240},
        {"IMG512x16", QM71IMG512X256X16, 512, 256, kMode16Bit, 65536},
        {"IMGWxHx16", QM71IMGWXHX16, 640, 240, kMode16Bit, 320 * 240},
        {"QN512", QN71IMG512X256X8, 512, 256, kMode8Bit, 32768},
        {"QNWxH", QN71IMGWXHX8, 640, 240, kMode8Bit, 160 * 240},
        {"DIB1024x8", QM71DIB1024X512X8, 1024, 512, kMode8Bit, 131072},
        {"IMG1024x8", QM71IMG1024X512X8, 1024, 512, kMode8Bit, 131072},
        {"IMG1024x16", QM71IMG1024X512X16, 1024, 512, kMode16Bit, 262144},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        card = {};
        std::vector<std::uint8_t> buffer(std::size_t{c.w} * c.h * 2);
        // The fixed entries ignore the descriptor's geometry.
        FrameDescriptor frame{buffer.data(), 640, 240, 0, 0, 0};
        EXPECT_EQ(c.entry(&frame), QM71_OK);
        EXPECT_EQ(card.calls, (std::vector<Call>{{SetGeometry, c.w, c.h},
                                                 {PrepareFrame, 0, 0},
                                                 {SetMode, c.mode, 1},
                                                 {StartFrame, 0, kPort}}));
        EXPECT_EQ(card.position, c.words);
        EXPECT_EQ(card.wrongPortReads, 0u);
    }
}

TEST_F(Transfer, DibRowsAreTheImgRowsBottomUp) {
    std::vector<std::uint8_t> img(131072), dib(131072);
    FrameDescriptor frame{img.data(), 0, 0, 0, 0, 0};
    QM71IMG512X256X8(&frame);
    // Word n carries bytes n, n >> 8, ... : byte 0 of the stream is first.
    EXPECT_EQ(img[4], 1);
    // Through the ports' row reader, then row by row once it is dropped.
    for (const bool rowReader : {true, false}) {
        if (!rowReader) qm71_install_row_reader(nullptr);
        card.position = 0;
        std::fill(dib.begin(), dib.end(), 0);
        frame.pixels = dib.data();
        QM71DIB512X256X8(&frame);
        for (std::size_t row = 0; row < 256; ++row)
            ASSERT_EQ(std::memcmp(dib.data() + row * 512, img.data() + (255 - row) * 512, 512), 0)
                << row << rowReader;
    }
}

TEST_F(Transfer, SixteenBitPixelsAreLittleEndianWordsInStreamOrder) {
    card.word = [](std::size_t, std::size_t i) {
        return static_cast<std::uint32_t>((2 * i + 1) << 16 | 2 * i);
    };
    std::vector<std::uint16_t> pixels(8 * 3);
    FrameDescriptor frame{pixels.data(), 8, 3, 0, 0, 0};
    QM71IMGWXHX16(&frame);
    for (std::size_t i = 0; i < pixels.size(); ++i) EXPECT_EQ(pixels[i], i);
}

TEST_F(Transfer, WidthsNotAMultipleOfFourAreServedAsTheCardStreamsThem) {
    std::vector<std::uint8_t> dib(6 * 2, 0xAA), img(6 * 2, 0xAA);
    card.word = [](std::size_t, std::size_t) { return 0u; };
    FrameDescriptor frame{dib.data(), 6, 2, 0, 0, 0};
    QM71DIBWXHX8(&frame);
    EXPECT_EQ(dib, (std::vector<std::uint8_t>{0, 0, 0, 0, 0xAA, 0xAA, 0, 0, 0, 0, 0xAA, 0xAA}));
    frame.pixels = img.data();
    QM71IMGWXHX8(&frame);
    EXPECT_EQ(img, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0xAA, 0xAA, 0xAA, 0xAA}));
}

// The byte the card sends for pixel i of frame f.
std::uint8_t PixelOf(std::size_t f, std::size_t i) {
    return static_cast<std::uint8_t>((i * 37 + f * 101 + (i >> 5)) * 13);
}

TEST_F(Transfer, AveragingAgreesWithAPlainLoop) {
    card.word = [](std::size_t f, std::size_t n) {
        std::uint32_t v = 0;
        for (std::size_t b = 0; b < 4; ++b) v |= std::uint32_t{PixelOf(f, 4 * n + b)} << (8 * b);
        return v;
    };
    // A width not a multiple of 4 leaves the last sums of each row at 0.
    for (const std::uint32_t w : {36u, 38u}) {
        constexpr std::uint32_t h = 5;
        const std::uint32_t streamed = w / 4 * 4;
        for (const unsigned k : {0u, 1u, 3u, 8u}) {
            for (const bool keep : {false, true}) {
                SCOPED_TRACE(::testing::Message() << "w=" << w << " k=" << k << " keep=" << keep);
                auto word = card.word;
                card = {};
                card.word = word;
                std::vector<std::uint16_t> sums(w * h);
                for (std::size_t f = 0; f < (1u << k); ++f)
                    for (std::size_t y = 0; y < h; ++y)
                        for (std::size_t x = 0; x < streamed; ++x)
                            sums[y * w + x] = static_cast<std::uint16_t>(
                                sums[y * w + x] + PixelOf(f, y * streamed + x));
                std::vector<std::uint16_t> buffer(w * h, 0x5555);
                FrameDescriptor frame{buffer.data(), w, h, 0, 0, k};
                qm71_set_keep_sums(keep);
                EXPECT_EQ(QN71IMGWXHX8(&frame), QM71_OK);
                EXPECT_EQ(
                    std::count(card.calls.begin(), card.calls.end(), Call{NextFrame, 0, kPort}),
                    (1 << k) - 1);
                if (keep) {
                    EXPECT_EQ(buffer, sums);
                    continue;
                }
                const auto* bytes = reinterpret_cast<const std::uint8_t*>(buffer.data());
                for (std::size_t i = 0; i < sums.size(); ++i)
                    ASSERT_EQ(bytes[i], sums[i] >> k) << i;
            }
        }
    }
}

TEST_F(Transfer, EachFlagIsConsumedByExactlyOneCall) {
    std::vector<std::uint8_t> buffer(2 * 8 * 2);
    FrameDescriptor frame{buffer.data(), 8, 2, 0, 0, 1};
    std::thread([] {
        qm71_set_frame_pending(1);
        qm71_set_keep_sums(7);
    }).join();
    auto starts = [&] {
        return std::count(card.calls.begin(), card.calls.end(), Call{StartFrame, 0, kPort});
    };
    card.word = [](std::size_t, std::size_t) { return 0x01010101u; };

    QN71IMGWXHX8(&frame);
    EXPECT_EQ(starts(), 0);
    EXPECT_EQ(buffer[0], 2);  // sums kept: 1 + 1, low byte first
    EXPECT_EQ(buffer[1], 0);

    QN71IMGWXHX8(&frame);
    EXPECT_EQ(starts(), 1);
    EXPECT_EQ(buffer[0], 1);  // averaged
    EXPECT_EQ(buffer[1], 1);
}

TEST_F(Transfer, InputsOutsideTheDomainChangeNothing) {
    const struct {
        const char* name;
        Entry entry;
        std::uint32_t w, h, k;
        bool nullBuffer;
    } cases[] = {
        {"null buffer", QM71IMG512X256X8, 512, 256, 0, true},
        {"W below 4", QM71DIBWXHX8, 3, 2, 0, false},
        {"H of 0", QM71IMGWXHX8, 4, 0, 0, false},
        {"W of 65536", QM71IMGWXHX16, 65536, 1, 0, false},
        {"H of 65536", QM71DIBWXHX8, 4, 65536, 0, false},
        {"k of 9", QN71IMGWXHX8, 4, 1, 9, false},
        {"k of 9 fixed", QN71IMG512X256X8, 0, 0, 9, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        card = {};
        std::vector<std::uint8_t> buffer(16, 0xAA);
        FrameDescriptor frame{c.nullBuffer ? nullptr : buffer.data(), c.w, c.h, 0, 0, c.k};
        EXPECT_EQ(c.entry(&frame), QM71_OUT_OF_DOMAIN);
        EXPECT_TRUE(card.calls.empty());
    }
    EXPECT_EQ(QM71IMGWXHX8(nullptr), QM71_OUT_OF_DOMAIN);

    qm71_install_ports(nullptr);
    std::vector<std::uint8_t> buffer(16);
    FrameDescriptor frame{buffer.data(), 4, 4, 0, 0, 0};
    EXPECT_EQ(QM71IMGWXHX8(&frame), QM71_NO_PORTS);
}

}  // namespace
}  // namespace qm71
