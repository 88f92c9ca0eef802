// Arbitrary descriptors through every library entry, each against a buffer of
// exactly the size its descriptor implies, on the simulated card service. The
// address sanitizer catches a write outside the buffer; an entry that refuses
// a descriptor must leave the buffer as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>

#include "portlib/card_ports.h"
#include "sim/service/simulated_card_service.h"

namespace {

struct EntryLayout {
    int (*entry)(const FrameDescriptor*);
    std::size_t width, height;  // 0: from the descriptor
    std::size_t bytesPerPixel;  // 2 for 16-bit pixels and for the averaging sums
};
constexpr EntryLayout kEntries[] = {
    {QM71DIB512X256X8, 512, 256, 1},    {QM71DIBWXHX8, 0, 0, 1},
    {QM71IMG512X256X8, 512, 256, 1},    {QM71IMGWXHX8, 0, 0, 1},
    {QM71IMG512X256X16, 512, 256, 2},   {QM71IMGWXHX16, 0, 0, 2},
    {QN71IMG512X256X8, 512, 256, 2},    {QN71IMGWXHX8, 0, 0, 2},
    {QM71DIB1024X512X8, 1024, 512, 1},  {QM71IMG1024X512X8, 1024, 512, 1},
    {QM71IMG1024X512X16, 1024, 512, 2},
};
// Larger buffers would only make the runs slow.
constexpr std::size_t kLargestBuffer = std::size_t{2} << 20;

qm71::sim::CardOptions Unpaced() {
    qm71::sim::CardOptions o;
    o.fps = 0;
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qm71::ManualClock clock;
    static qm71::sim::SimulatedCardService card(clock, Unpaced());
    static qm71::CardPorts ports{&card, &card};
    qm71::InstallCardPorts(ports);

    FuzzedDataProvider input(data, size);
    const EntryLayout& e =
        kEntries[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kEntries) - 1)];
    FrameDescriptor frame{};
    frame.width = input.ConsumeIntegral<std::uint32_t>();
    frame.height = input.ConsumeIntegral<std::uint32_t>();
    frame.averagingExponent = input.ConsumeIntegral<std::uint32_t>();
    qm71_set_frame_pending(input.ConsumeBool());
    qm71_set_keep_sums(input.ConsumeBool());

    const std::size_t w = e.width != 0 ? e.width : frame.width;
    const std::size_t h = e.height != 0 ? e.height : frame.height;
    if (w > kLargestBuffer || h > kLargestBuffer || w * h * e.bytesPerPixel > kLargestBuffer)
        return -1;
    const std::size_t bytes = w * h * e.bytesPerPixel;
    const std::unique_ptr<std::byte[]> buffer(new std::byte[bytes]);
    std::memset(buffer.get(), 0xA5, bytes);
    frame.pixels = buffer.get();
    if (e.entry(&frame) != QM71_OK) {
        for (std::size_t i = 0; i < bytes; ++i)
            if (buffer[i] != std::byte{0xA5}) __builtin_trap();
    }
    return 0;
}
