#include "sample/core/sample_app.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/little_endian.h"
#include "portlib/card_ports.h"
#include "resources/sample/commands.h"
#include "sample/core/about_box_model.h"
#include "sample/core/size_dialog_model.h"
#include "testing/fakes.h"
#include "testing/recording_operator.h"
#include "testing/scripted_card_service.h"
#include "testing/scripted_line.h"

namespace qm71::sample {
namespace {

using enum ServiceFunction;
using Call = testing::ScriptedCardService::ServiceCall;

// What the camera is sent for a frame of 256 or 512 x 256.
const std::string k256x256("\x04\x07\x00\xFF\xFF", 5), k512x256("\x04\x07\x01\xFF\xFF", 5);

// The grabs reach the scripted card through the library's installed ports.
struct Fixture {
    testing::ScriptedCardService card;
    CardPorts ports{&card, &card};
    testing::ScriptedLine line;
    testing::RecordingOperator op;
    SampleCamera camera{line, op};
    SampleApp app{card, camera, op};
    Fixture() {
        InstallCardPorts(ports);
        line.otherReply = std::string(1, '\0');
        line.Open("COM2");
    }
    ~Fixture() { qm71_install_ports(nullptr); }
    std::size_t Grabs() const {
        return std::count_if(card.calls.begin(), card.calls.end(),
                             [](const Call& c) { return c.function == SetGeometry; });
    }
};

TEST(SampleApp, StartUpResetsTheCardLoadsTablesThenSetsUpTheCamera) {
    Fixture f;
    f.line.Close();
    std::size_t callsWhenCameraBegan = 0;
    f.app.Start([&](const std::string& title) {
        if (title == kInitTitle) callsWhenCameraBegan = f.card.calls.size();
    });
    ASSERT_FALSE(f.card.calls.empty());
    EXPECT_EQ(f.card.calls.front(), (Call{ResetCard, 0, 0}));
    EXPECT_EQ(f.card.calls.back().function, ActivateTable);
    EXPECT_EQ(callsWhenCameraBegan, f.card.calls.size());  // no service call after the camera
    EXPECT_EQ(f.line.writes.size(), 5u);
    EXPECT_EQ(f.line.writes.back(), k256x256);
    EXPECT_EQ(f.app.State().averagingIndex, 2u);
}

TEST(SampleApp, LayoutChangesReallocateAndResendTheSize) {
    const struct {
        const char* what;
        std::vector<int> ids;  // 0: the size dialog opened and cancelled
        std::size_t sizesSent;
    } cases[] = {{"F1 F3 share a layout", {1000, 1002, 1000}, 1},
                 {"8 then 16 bits", {1000, 1004}, 2},
                 {"plain then averaging", {1002, 1006}, 2},
                 {"dialog in between", {1000, 0, 1000}, 2}};
    for (const auto& c : cases) {
        Fixture f;
        std::vector<const ImageBuffer*> blocks;
        for (int id : c.ids) {
            if (id == 0) {
                SizeDialogModel dialog(f.app.State());
                continue;
            }
            EXPECT_TRUE(f.app.Grab(id)) << c.what;
            if (blocks.empty() || blocks.back() != f.app.State().image.get())
                blocks.push_back(f.app.State().image.get());
        }
        EXPECT_EQ(f.line.writes, std::vector(c.sizesSent, k512x256)) << c.what;
        EXPECT_EQ(blocks.size(), c.sizesSent) << c.what;
        EXPECT_EQ(f.Grabs(), c.ids.size() - std::count(c.ids.begin(), c.ids.end(), 0)) << c.what;
    }
}

TEST(SampleApp, BufferLayoutAndDescriptor) {
    // The DIB grab stores the first row received (words 0, 1, ...) last.
    const struct {
        int id;
        std::uint32_t w, h, bits;
        std::size_t blockBytes, pixelOffset;
        std::uint32_t rowBytes, colours, lastRowWord, nextFrames;
    } cases[] = {
        {1001, 256, 256, 8, 256 * 256 + 4096, 1064, 256, 256, 0, 0},
        {1004, 512, 256, 16, 512 * 256 * 2 + 4096, 40, 512, 0, 255 * 256, 0},
        {1006, 512, 256, 8, 512 * 256 * 2 + 4096, 1064, 1024, 256, 255 * 128, 31},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.app.State().averagingIndex = 5;
        ASSERT_TRUE(f.app.Grab(c.id));
        const ImageBuffer& image = *f.app.State().image;
        EXPECT_EQ(image.Size(), c.blockBytes) << c.id;
        const std::byte* h = image.Header();
        EXPECT_EQ(LoadLe32(h + 12), 1u | c.bits << 16);  // planes, bits
        EXPECT_EQ(LoadLe32(h + 20), c.w * c.h * c.bits / 8);
        EXPECT_EQ(LoadLe32(h + 32), c.colours);
        EXPECT_TRUE(c.colours == 0 || LoadLe32(h + 40 + 4 * 200) == 0x00C8C8C8u);  // grey ramp

        const FrameDescriptor& d = f.app.State().descriptor;
        EXPECT_EQ(d.pixels, h + c.pixelOffset);
        EXPECT_EQ(d.rowBytes, c.rowBytes);
        EXPECT_EQ(d.averagingExponent, 5u);
        EXPECT_EQ(std::count(f.card.calls.begin(), f.card.calls.end(),
                             Call{NextFrame, 0, testing::ScriptedCardService::dataPort}),
                  c.nextFrames);
        EXPECT_EQ(LoadLe32(h + c.pixelOffset + (c.h - 1) * c.w * c.bits / 8), c.lastRowWord)
            << c.id;
    }
}

// The main window: 400 x 100 with frame, caption and menu at a quarter of
// the screen, black until the first frame. A frame sizes the client area to
// it and is drawn 1:1 from the top-left corner, as much as fits.
TEST(SampleApp, MainWindowPlacementAndFrames) {
    Fixture f;
    testing::FakeHost host;
    EXPECT_EQ(f.app.InitInstance(1280, 1022), (Rect{320, 255, 720, 355}));
    f.app.OnCreate(host);
    EXPECT_TRUE(host.shown.picture.empty());
    // The window system leaves 392 x 40 inside frame, caption and menu.
    f.app.OnSize({0, 0, 392, 40}, {320, 255, 720, 355});
    EXPECT_EQ(f.app.OnKeyDown(kKeyF1 + 1, kModNone), 0);  // F2: 256 x 256
    EXPECT_EQ(host.moves, (std::vector<Rect>{{320, 255, 584, 571}}));
    EXPECT_EQ(host.drawn.source, (Rect{0, 0, 256, 40}));
    f.app.OnSize({0, 0, 256, 256}, host.moves.back());
    EXPECT_EQ(
        std::tuple(host.shown.picture.data(), host.shown.source, host.shown.destination),
        std::tuple(f.app.State().image->Header(), Rect{0, 0, 256, 256}, Rect{0, 0, 256, 256}));
    // A new layout replaces the block: paints never read the old one.
    ASSERT_TRUE(f.app.Command(ID_GRAB_FIRST + 4));
    EXPECT_EQ(host.shown.picture.data(), f.app.State().image->Header());
}

TEST(SampleApp, UnusableSizeOrNoMemoryGrabsNothingAndKeepsTheLastFrame) {
    const struct {
        std::uint32_t w, h;
        std::size_t maxBlockBytes;
        const char* message;  // null: the grab goes ahead
    } cases[] = {
        {0, 256, SIZE_MAX, kBadSizeMessage},
        {6, 256, SIZE_MAX, kBadSizeMessage},
        {65536, 256, SIZE_MAX, kBadSizeMessage},
        {256, 0, SIZE_MAX, kBadSizeMessage},
        {256, 257, SIZE_MAX, kBadSizeMessage},
        {65532, 256, 1 << 20, kNoMemoryMessage},
        {4, 1, SIZE_MAX, nullptr},
        {65532, 256, SIZE_MAX, nullptr},
    };
    for (const auto& c : cases) {
        Fixture f;
        ASSERT_TRUE(f.app.Grab(1000));
        const ImageBuffer* before = f.app.State().image.get();
        const std::size_t writes = f.line.writes.size();
        SizeDialogModel dialog(f.app.State());
        f.app.State().frameWidth = c.w;
        f.app.State().frameHeight = c.h;
        f.app.maxBlockBytes = c.maxBlockBytes;

        const bool grabbed = f.app.Grab(1001);
        EXPECT_EQ(grabbed, c.message == nullptr) << c.w << "x" << c.h;
        if (grabbed) continue;
        EXPECT_EQ(f.op.messages, std::vector<std::string>{c.message}) << c.w << "x" << c.h;
        EXPECT_EQ(f.op.captions, std::vector<std::string>{"Error"});
        EXPECT_EQ(std::tuple(f.app.State().image.get(), f.line.writes.size(), f.Grabs()),
                  std::tuple(before, writes, 1u));
    }
}

TEST(SizeDialog, FieldsClicksAndAccept) {
    SampleState state;
    state.averagingIndex = 2;
    state.frameWidth = 0x10100;  // shown by its low 16 bits
    state.grabMode = 1000;
    {
        SizeDialogModel dialog(state);
        EXPECT_EQ(std::tuple(state.grabMode, dialog.WidthText(), dialog.CheckedAveragingId()),
                  std::tuple(0, "256", 3002));
        dialog.ChooseAveraging(3004);
        dialog.ToggleContrast();
    }  // cancelled: the clicks stay in force
    EXPECT_EQ(std::tuple(state.averagingIndex, state.contrast, state.frameWidth),
              std::tuple(4u, 1u, 0x10100u));

    SizeDialogModel dialog(state);
    dialog.ToggleContrast();
    EXPECT_EQ(dialog.Accept("abc", " 300 ", "12x"), 1);
    EXPECT_EQ(std::tuple(state.contrast, state.frameWidth, state.frameHeight, state.ilut),
              std::tuple(0u, 0u, 300u, 0u));
    EXPECT_EQ(ParseFieldNumber("4294967296"), 0u);
}

TEST(AboutBox, OnlyItsOkButtonEndsIt) {
    EXPECT_EQ(AboutBoxModel::Press(1), 1);
    EXPECT_EQ(AboutBoxModel::Press(2), std::nullopt);
}

}  // namespace
}  // namespace qm71::sample
