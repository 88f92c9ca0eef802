#include "platform/driver_records.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace qm71 {
namespace {

template <std::size_t N>
std::string Hex(const std::array<std::byte, N>& image) {
    std::string text;
    for (const std::byte b : image) {
        char two[4];
        std::snprintf(two, sizeof two, " %02x", std::to_integer<unsigned>(b));
        text += two;
    }
    return text.substr(1);
}

std::string Zeros(int n) {
    std::string text;
    while (n-- > 0) text += " 00";
    return text;
}

std::byte* At(std::uintptr_t address) {
    return reinterpret_cast<std::byte*>(address);
}

TEST(DriverRecordsTest, BothRecordsByteForByteAndTheAnswer) {
    const struct {
        DriverRequest request;
        const char* values;
    } commands[] = {
        {{SubCommand::QueryBase}, "29 00 00 00 00 00"},
        {{SubCommand::Download, kAlternateCardBase, 0}, "09 00 20 07 00 00"},
        {{SubCommand::PostDownload, 0x0301, 0}, "08 00 01 03 00 00"},
        {{SubCommand::BeginTable, 1024, 0}, "43 00 00 04 00 00"},
        {{SubCommand::TableEntries, 0xFFFE, 0xFFFF}, "44 00 fe ff ff ff"},
        {{SubCommand::SetParameter, kLinesParameter, 640}, "34 00 e0 88 80 02"},
        {{SubCommand::Commit, kLinesParameter, 1}, "3b 00 e0 88 01 00"},
        {{SubCommand::ArmFrame}, "3c 00 00 00 00 00"},
        {{SubCommand::LineCount, 1}, "41 00 01 00 00 00"},
        {{SubCommand::BeginReadout, 0x8000, 0x7FFF}, "3e 00 00 80 ff 7f"},
        {{SubCommand::TriggerControl, 0, 2}, "42 00 00 00 02 00"},
        {{SubCommand::CloseCard}, "63 00 00 00 00 00"},
    };
    for (const auto& [request, values] : commands)
        EXPECT_EQ(Hex(EncodeDriverRequest(request)), values + Zeros(8));

    const struct {
        LineRequest request;
        const char* head;
        const char* base;
    } lines[] = {
        {{At(0x12345678), 768, kDefaultCardBase}, "78 56 34 12 00 03 00 00", " 20 03 00 00"},
        {{At(0xFFFFFFFC), 1250, kAlternateCardBase}, "fc ff ff ff e2 04 00 00", " 20 07 00 00"},
        {{nullptr, 0xFFFFFFFF, 0xFFFFFFFF}, "00 00 00 00 ff ff ff ff", " ff ff ff ff"},
    };
    for (const auto& [request, head, base] : lines) {
        const auto image = EncodeLineRequest(request);
        ASSERT_TRUE(image);
        EXPECT_EQ(Hex(*image), head + Zeros(16) + base + Zeros(32));
    }
    // Only a 32-bit process has no address the record cannot hold.
    EXPECT_EQ(EncodeLineRequest({At(~std::uintptr_t{0}), 1, 0}).has_value(), sizeof(void*) == 4);

    // The answer gives both values back; the sub-command stays as sent.
    DriverRequest answer{SubCommand::LineCount, 1, 1};
    DecodeDriverAnswer(EncodeDriverRequest({SubCommand::Download, 0x1234, 0x00FF}), answer);
    EXPECT_EQ(answer.subCommand, SubCommand::LineCount);
    EXPECT_EQ(answer.value1 + answer.value2 * 0x10000, 0x00FF1234);
}

}  // namespace
}  // namespace qm71
