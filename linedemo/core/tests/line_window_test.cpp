#include <gtest/gtest.h>

#include <functional>

#include "linedemo/core/line_acquisition.h"
#include "linedemo/core/line_demo_app.h"
#include "linedemo/core/line_geometry.h"
#include "linedemo/core/line_image_window.h"
#include "linedemo/core/numbered_bitmap.h"
#include "platform/dib/dib.h"
#include "resources/qmdemo/commands.h"
#include "resources/qmdemo/control_panel_ids.h"
#include "sim/card/simulated_card.h"
#include "testing/fakes.h"

namespace qm71 {
namespace {

using Texts = std::vector<std::string>;
constexpr int kFrameW = 8, kFrameH = 30;

struct LineDemo : ::testing::Test {
    testing::ScriptedCard card;
    std::unique_ptr<DriverChannel> channel;  // another card, when a test sets one
    std::unique_ptr<Driver> driver;
    testing::RecordingOperator op;
    ManualClock clock;
    testing::MemoryProfile store;
    testing::FakeHost host;
    std::unique_ptr<LineDemoApp> app;

    LineImageWindow& Start(
        const LineDemoApp::ImageAllocator& allocate = LineImageWindow::AllocateImage) {
        driver = std::make_unique<Driver>(channel ? *channel : card);
        app = std::make_unique<LineDemoApp>(store, *driver, op, clock, allocate);
        const Rect placement = app->InitInstance(1024, 768);
        LineImageWindow& w = app->MainWindow();
        w.OnCreate(host, 1024, 768);
        Report(placement);
        app->Started();
        app->OnSetFocus(kModNone);
        return w;
    }
    // The window system did what was asked last, or `window`.
    void Report(const Rect& window) {
        app->MainWindow().OnSize({0, 0, window.Width() - kFrameW, window.Height() - kFrameH},
                                 window);
    }
    void ReportLastMove() { Report(host.moves.back()); }
    void UseSimulatedCard(const char* faults) {
        sim::CardOptions o = sim::LineCameraOptions();
        std::string error;
        ASSERT_TRUE(sim::ParseCardOptions(std::string("fps=0,") + faults, o, error));
        channel = std::make_unique<sim::SimulatedCard>(clock, o);
    }
};

TEST_F(LineDemo, AcquiresOnlyWhileNothingPausesIt) {
    LineImageWindow& w = Start();
    const std::pair<const char*, std::function<void(bool)>> pauses[] = {
        {"focus", [&](bool on) { on ? app->OnKillFocus() : app->OnSetFocus(kModNone); }},
        {"Alt",
         [&](bool on) { on ? (void)app->OnKeyDown(kKeyMenu, kModAlt) : app->OnKeyUp(kKeyMenu); }},
        {"drag",
         [&](bool on) {
             on ? app->OnLButtonDown({5, 5}) : app->OnButtonUp();
         }},
        {"dialog", [&](bool on) { app->OnModal(on); }},
        {"F5", [&](bool) { app->OnKeyDown(kKeyF5, kModNone); }},
        {"no display", [&](bool on) { w.OnCreate(host, 1024, 768, !on); }},
    };
    for (const auto& [what, pause] : pauses) {
        SCOPED_TRACE(what);
        pause(true);
        EXPECT_FALSE(app->ShouldIdleRun());
        const std::size_t sent = card.log.size();
        EXPECT_FALSE(app->OnIdle().drawn);
        EXPECT_EQ(card.log.size(), sent);
        pause(false);
        EXPECT_TRUE(app->ShouldIdleRun());
        EXPECT_TRUE(app->OnIdle().drawn);
    }
    EXPECT_EQ(std::tuple(host.draws, host.drawn.text, host.drawn.textAt),
              std::tuple(6, "Idle 5", Point{10, 60}));
    EXPECT_TRUE(host.shown.text.empty());  // repaints show the picture alone
    // A drag that a dialog (Ctrl+O) or another window took the release of
    // is over once the dialog has closed and the window has the focus.
    for (const bool dialog : {true, false}) {
        app->OnLButtonDown({5, 5});
        EXPECT_EQ(app->OnKeyDown('O', kModControl), qmdemo::ID_CONTROL_PANEL);
        dialog ? app->OnModal(true) : app->OnKillFocus();
        dialog ? app->OnModal(false) : app->OnSetFocus(kModNone);
        EXPECT_TRUE(app->ShouldIdleRun()) << dialog;
    }
    // Alt let go while another window had the keys counts when the focus
    // comes back without it.
    for (const std::uint8_t held : {kModAlt, kModNone}) {
        app->OnKeyDown(kKeyMenu, kModAlt);
        app->OnKillFocus();
        app->OnSetFocus(held);
        EXPECT_EQ(app->ShouldIdleRun(), held == kModNone);
    }
}

// The picture is always one whole acquisition: an image the card left half
// done is neither shown nor saved, and a triggered image keeps the top line
// of the picture before it.
TEST_F(LineDemo, ACardThatStopsEndsLiveModeWithOneMessageAndTheLastWholeImage) {
    UseSimulatedCard("stall-after-rows=1500");
    LineImageWindow& w = Start();
    const auto picture = [&] {
        const auto block = w.Picture().picture;
        return std::vector<std::byte>(block.begin(), block.end());
    };
    EXPECT_TRUE(app->OnIdle().drawn);  // 640 lines
    const auto freeRun = picture();
    app->Command(qmdemo::ID_SOFTWARE_TRIGGER);
    EXPECT_TRUE(app->OnIdle().drawn);  // 639 lines
    const auto triggered = picture();
    const std::size_t top = LineOffset(kTriggeredLines) + ImageBlock::kPixelOffset;
    EXPECT_TRUE(std::equal(triggered.begin() + top, triggered.end(), freeRun.begin() + top));
    EXPECT_FALSE(app->OnIdle().drawn);
    EXPECT_EQ(op.messages, Texts{kLineTimeoutMessage});
    EXPECT_FALSE(app->ShouldIdleRun());
    EXPECT_FALSE(app->OnIdle().drawn);
    EXPECT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(std::tuple(host.draws, host.drawn.text), std::tuple(2, "Idle 1"));
    // What repaints draw and Ctrl+W saves: the last whole image.
    EXPECT_EQ(host.shown.picture.data(), w.Picture().picture.data());
    EXPECT_EQ(picture(), triggered);
    app->Command(qmdemo::ID_LIVE);
    EXPECT_TRUE(app->ShouldIdleRun());
}

TEST_F(LineDemo, WithoutDriverOrImageNothingIsAcquiredOrRead) {
    card.present = false;
    Start();
    EXPECT_EQ(op.messages, (Texts{"Treiber nicht gefunden"}));
    EXPECT_EQ(op.styles[0].owner, MessageStyle::Owner::None);
    EXPECT_FALSE(app->ShouldIdleRun());
    EXPECT_FALSE(app->OnIdle().drawn);
    card.present = true;
    op.messages.clear();
    Start([] { return std::unique_ptr<ImageBlock>(); });
    EXPECT_EQ(op.messages, Texts{kLineOutOfMemoryMessage});
    EXPECT_FALSE(app->ShouldIdleRun());
    EXPECT_FALSE(app->OnIdle().drawn);
    EXPECT_EQ(card.Count(SubCommand::ArmFrame), 0u);
    EXPECT_TRUE(host.shown.picture.empty());
    EXPECT_TRUE(app->Command(qmdemo::ID_SAVE_NUMBERED));
    EXPECT_EQ(op.messages.back(), kNoImageToSaveMessage);
}

TEST_F(LineDemo, PanelResultsAndKeysChangeWhatTheySay) {
    // From LUT 0, SCALE 0, free-running; `left`: the command left to the front end.
    const struct {
        int id;
        bool panel;
        int left, lut, scale;
        bool trigger;
    } cases[] = {
        {qmdemo::kInverse, true, 0, 1, 0, false},
        {qmdemo::kScale1To8 + 3, true, 0, 0, 3, false},
        {qmdemo::kScale4To1, true, 0, 0, 5, false},
        {qmdemo::kSoftwareTrigger, true, 0, 0, 0, true},
        {qmdemo::kOptions, true, qmdemo::ID_COLOURS, 0, 0, false},
        {qmdemo::kEnd, true, qmdemo::ID_APP_EXIT, 0, 0, false},
        {2, true, 0, 0, 0, false},
        {qmdemo::ID_SCALE_1_1, false, 0, 0, 3, false},
        {qmdemo::ID_SCALE_1_2, false, 0, 0, 2, false},
        {qmdemo::ID_SOFTWARE_TRIGGER, false, 0, 0, 0, true},
        {qmdemo::ID_BG_NEXT, false, 0, 2, 0, false},
        {qmdemo::ID_CONTROL_PANEL, false, qmdemo::ID_CONTROL_PANEL, 0, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        store.values.clear();
        LineImageWindow& w = Start();
        card.log.clear();
        EXPECT_EQ(c.panel ? app->PanelResult(c.id) : (app->Command(c.id) ? 0 : c.id), c.left);
        // What the panel shows next time.
        const LinePanelState shown = w.PanelState();
        EXPECT_EQ(std::tuple(shown.lut, shown.scale, shown.trigger, shown.width, shown.height),
                  std::tuple(c.lut, c.scale, c.trigger, 5000, 640));
        // The card hears of a new mode at once: one line an acquisition.
        EXPECT_EQ(card.Count(SubCommand::SetParameter), c.trigger ? 1u : 0u);
        EXPECT_TRUE(!c.trigger || card.log[0].value2 == 1);
    }
}

TEST_F(LineDemo, RepaintShowsTheLiveImageTheRightWayUp) {
    UseSimulatedCard("");
    LineImageWindow& w = Start();
    app->Command(qmdemo::ID_SCALE_1_1);
    ReportLastMove();
    ASSERT_TRUE(app->OnIdle().drawn);
    // Colours change while paused: repaints show the image as the live
    // drawing did, over the whole client area, in the new colours, from the
    // top of the bottom-up block: the last line acquired is the top line.
    app->OnKillFocus();
    app->Command(qmdemo::ID_LUT_INVERSE);
    ReportLastMove();
    const Drawing& shown = host.shown;
    EXPECT_EQ(std::tuple(shown.picture.data(), shown.source, shown.destination),
              std::tuple(host.drawn.picture.data(), Rect{0, 0, 1016, 608}, Rect{0, 0, 1016, 608}));
    const auto view = dib::ViewPackedDib(shown.picture);
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(std::tuple(view->height, view->colours[0], static_cast<const void*>(view->pixels)),
              std::tuple(640, RgbQuad{255, 255, 255, 0}, w.Image()->Pixels()));
}

TEST_F(LineDemo, AFitTheWindowSystemDeclinedIsNotAskedForAgain) {
    Start();
    app->Command(qmdemo::ID_SCALE_1_1);
    const Rect asked = host.moves.back();
    const auto moves = host.moves.size();
    // The window system keeps the window 1024 x 640 instead.
    Report({0, 0, 1024, 640});
    Report({0, 0, 1024, 640});
    EXPECT_EQ(host.moves.size(), moves);
    EXPECT_EQ(host.moves.back(), asked);
}

TEST_F(LineDemo, ShutdownWritesTheSettingsAndClosesTheCard) {
    card.base = 0x720;
    Start();
    app->Command(qmdemo::ID_SOFTWARE_TRIGGER);
    app->Shutdown({3, 4, 633, 114});
    EXPECT_EQ(std::tuple(store.values["TRIG"], store.values["BASIS"]), std::tuple("1", "1824"));
    EXPECT_EQ(card.log.back().subCommand, SubCommand::CloseCard);
    EXPECT_TRUE(host.shown.picture.empty());  // nothing left to paint from
}

}  // namespace
}  // namespace qm71
