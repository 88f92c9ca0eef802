#include "viewer/core/image_window.h"

#include <gtest/gtest.h>

#include "common/card_wait.h"
#include "resources/qm/commands.h"
#include "testing/fakes.h"
#include "viewer/core/viewer_app.h"

namespace qm71 {
namespace {

using testing::FakeHost;
using testing::MemoryProfile;
using testing::RecordingOperator;
using testing::ScriptedCard;

struct Viewer : ::testing::Test {
    ScriptedCard card;
    Driver driver{card};
    RecordingOperator op;
    ManualClock clock;
    MemoryProfile store;
    FakeHost host;

    std::unique_ptr<ViewerApp> Start(int screenW = 1280, int screenH = 1024) {
        auto app = std::make_unique<ViewerApp>(store, driver, op, clock);
        const Rect placement = app->InitInstance(screenW, screenH);
        app->MainWindow()->OnCreate(host, screenW, screenH);
        app->MainWindow()->OnSize({0, 0, placement.Width(), placement.Height()}, placement);
        app->Started();
        return app;
    }
};

TEST_F(Viewer, OpenGrabberSendsTheLoadSequence) {
    card.base = 0x720;
    auto app = Start();
    ASSERT_EQ(card.log.size(), 518u);
    EXPECT_EQ(card.log[0].subCommand, SubCommand::QueryBase);
    EXPECT_EQ(card.log[1].subCommand, SubCommand::Download);
    EXPECT_EQ(card.log[1].value1, 0x720);
    EXPECT_EQ(card.log[1].value2, 0);
    EXPECT_EQ(card.log[2].subCommand, SubCommand::PostDownload);
    EXPECT_EQ(card.log[3].subCommand, SubCommand::SetParameter);
    EXPECT_EQ(card.log[3].value1, 0x88E0);
    EXPECT_EQ(card.log[3].value2, 1);
    EXPECT_EQ(card.log[4].subCommand, SubCommand::BeginTable);
    EXPECT_EQ(card.log[4].value1, 1024);
    for (int j = 0; j < 512; ++j) {
        const DriverRequest& r = card.log[5 + j];
        ASSERT_EQ(r.subCommand, SubCommand::TableEntries);
        EXPECT_EQ(r.value1, 2 * j);
        EXPECT_EQ(r.value2, 2 * j + 1);
    }
    EXPECT_EQ(card.log[517].subCommand, SubCommand::Commit);
    EXPECT_EQ(driver.Line().cardBase, 0x720u);
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(app->MainWindow()->DownloadAttempts(), 1);
}

TEST_F(Viewer, CardBaseOtherThanTheTwoKnownIsTakenAs0x320) {
    card.base = 0x500;
    auto app = Start();
    EXPECT_EQ(app->MainWindow()->CardBase(), 0x320);
    EXPECT_EQ(card.log[1].value1, 0x320);
}

TEST_F(Viewer, DownloadErrorIsReportedWithItsAttempts) {
    card.download = 0x0305;
    auto app = Start();
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0], "DownLoad Fehler: #5 (3 Versuche)");
    EXPECT_EQ(app->MainWindow()->DownloadAttempts(), 3);
}

TEST_F(Viewer, WithoutTheDriverTheWindowShowsTheBlankImageAndKeepsPolling) {
    card.present = false;
    store.values["LUT"] = "1";
    auto app = Start();
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0], "Treiber nicht gefunden");
    EXPECT_EQ(op.captions[0], "Fehler");
    EXPECT_TRUE(card.log.empty());
    EXPECT_FALSE(app->OnIdle());
    EXPECT_FALSE(app->OnIdle());
    EXPECT_TRUE(card.log.empty());
    EXPECT_EQ(host.draws, 0);
    // Inverse colouring of the zero image: white.
    EXPECT_EQ(app->MainWindow()->Image()->ColourTable()[0], (RgbQuad{255, 255, 255, 0}));
}

TEST_F(Viewer, FramesLandBottomUpAndAreDrawnAtOnce) {
    auto app = Start();
    card.log.clear();
    ASSERT_TRUE(app->OnIdle());
    EXPECT_EQ(host.draws, 1);
    ASSERT_EQ(card.lines.size(), 2056u);
    std::byte* pixels = app->MainWindow()->Image()->Pixels();
    // The first row the card delivers is the last row of the block.
    EXPECT_EQ(card.lines.front().destination, pixels + 2055 * 3072);
    EXPECT_EQ(card.lines.back().destination, pixels);
    EXPECT_EQ(card.lines.front().count, 768u);
    EXPECT_EQ(pixels[2055 * 3072 + 5], std::byte{0});
    EXPECT_EQ(pixels[2054 * 3072], std::byte{1});
    // The record's destination is back where it was.
    EXPECT_EQ(driver.Line().destination, pixels);
    EXPECT_EQ(card.log[0].subCommand, SubCommand::ArmFrame);
    EXPECT_EQ(card.log[2].subCommand, SubCommand::BeginReadout);
}

TEST_F(Viewer, ArmsOnlyAfterADrawnFrame) {
    std::uint16_t rows = 0;
    card.rows = [&] { return rows; };
    auto app = Start();
    card.log.clear();
    EXPECT_FALSE(app->OnIdle());  // armed, nothing yet
    EXPECT_FALSE(app->OnIdle());  // polls again without arming
    EXPECT_EQ(card.Count(SubCommand::ArmFrame), 1u);
    rows = 2056;
    EXPECT_TRUE(app->OnIdle());
    EXPECT_EQ(card.Count(SubCommand::ArmFrame), 1u);
    EXPECT_TRUE(app->OnIdle());  // drawn before, so armed again
    EXPECT_EQ(card.Count(SubCommand::ArmFrame), 2u);
}

TEST_F(Viewer, RowsAreReadOnlyOnceTheCardHasThem) {
    // The card makes one row available per poll.
    std::uint16_t available = 0;
    card.rows = [&] { return available < 2056 ? ++available : available; };
    auto app = Start();
    card.log.clear();
    ASSERT_TRUE(app->OnIdle());
    std::size_t polls = 0;
    for (const auto& r : card.log) polls += r.subCommand == SubCommand::LineCount;
    EXPECT_GE(polls, 2056u);
}

TEST_F(Viewer, FreezingStopsGrabbingAndResumes) {
    auto app = Start();
    app->ToggleLiveMode();
    card.log.clear();
    EXPECT_FALSE(app->OnIdle());
    EXPECT_TRUE(card.log.empty());
    app->ToggleLiveMode();
    EXPECT_TRUE(app->OnIdle());
}

TEST_F(Viewer, StalledCardTimesOutOnceAndStopsLiveMode) {
    card.rows = [] { return std::uint16_t{1000}; };
    auto app = Start();
    const auto before = clock.Now();
    EXPECT_FALSE(app->OnIdle());
    EXPECT_GE(clock.Now() - before, kCardTimeout);
    EXPECT_LT(clock.Now() - before, kCardTimeout + std::chrono::milliseconds(10));
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0], kCardTimeoutMessage);
    EXPECT_FALSE(app->LiveMode());
    EXPECT_EQ(card.lines.size(), 1000u);
    EXPECT_EQ(host.draws, 0);
    EXPECT_EQ(driver.Line().destination, app->MainWindow()->Image()->Pixels());
    // Resumed by F5: the abandoned frame is re-armed.
    app->ToggleLiveMode();
    card.log.clear();
    app->OnIdle();
    EXPECT_EQ(card.log[0].subCommand, SubCommand::ArmFrame);
}

TEST_F(Viewer, ColourKeysStepAndSwitchToThreshold) {
    auto app = Start();
    ImageWindow& w = *app->MainWindow();
    w.Settings().colouring.bg = 9;
    const int before = host.invalidations;
    EXPECT_TRUE(w.Command(qm::ID_BG_NEXT));
    EXPECT_EQ(w.Settings().colouring.bg, 246);
    EXPECT_EQ(w.Settings().colouring.lut, kThreshold);
    EXPECT_EQ(host.invalidations, before + 1);
    EXPECT_EQ(w.Image()->ColourTable()[0], StaticColorTable[10]);
    w.Command(qm::ID_BG_PREVIOUS);
    EXPECT_EQ(w.Settings().colouring.bg, 9);
    w.Command(qm::ID_FG_NEXT);
    EXPECT_EQ(w.Settings().colouring.vg, 0);
    w.Command(qm::ID_FG_PREVIOUS);
    EXPECT_EQ(w.Settings().colouring.vg, 255);
    w.Command(qm::ID_LUT_INVERSE);
    EXPECT_EQ(w.Image()->ColourTable()[10], (RgbQuad{245, 245, 245, 0}));
    w.Command(qm::ID_LUT_NORMAL);
    EXPECT_EQ(w.Settings().colouring.lut, kNormal);
    EXPECT_FALSE(w.Command(qm::ID_CONTROL_PANEL));
}

TEST_F(Viewer, ThresholdKeysBeepAtTheirLimitsAndChangeNothing) {
    auto app = Start();
    ImageWindow& w = *app->MainWindow();
    ColouringSettings& c = w.Settings().colouring;
    struct Case {
        int id, thresh, expected;
        bool beeps;
    } cases[] = {
        {qm::ID_THRESH_UP, 255, 255, true},      {qm::ID_THRESH_UP, 254, 255, false},
        {qm::ID_THRESH_DOWN, 0, 0, true},        {qm::ID_THRESH_DOWN, 1, 0, false},
        {qm::ID_THRESH_PAGE_UP, 240, 240, true}, {qm::ID_THRESH_PAGE_UP, 239, 255, false},
        {qm::ID_THRESH_PAGE_DOWN, 15, 15, true}, {qm::ID_THRESH_PAGE_DOWN, 16, 0, false},
    };
    for (const Case& k : cases) {
        c.lut = kNormal;
        c.thresh = k.thresh;
        const int beeps = op.beeps;
        w.Command(k.id);
        EXPECT_EQ(c.thresh, k.expected) << k.id << " at " << k.thresh;
        EXPECT_EQ(op.beeps - beeps, k.beeps ? 1 : 0);
        EXPECT_EQ(c.lut, k.beeps ? kNormal : kThreshold);
    }
}

TEST_F(Viewer, ScaleKeysResizeTheWindow) {
    auto app = Start(1280, 1024);
    ImageWindow& w = *app->MainWindow();
    host.moves.clear();
    w.Command(qm::ID_SCALE_1);  // Ctrl+1 is x0.5
    EXPECT_EQ(w.Settings().scale, 1);
    ASSERT_FALSE(host.moves.empty());
    EXPECT_EQ(host.moves.back(), (Rect{0, 0, 1280, 1024}));
    w.Command(qm::ID_SCALE_0);  // Ctrl+5 is x0.25
    EXPECT_EQ(w.Settings().scale, 0);
    EXPECT_EQ(host.moves.back(), (Rect{0, 0, 768, 514}));
    w.OnSize({0, 0, 760, 490}, {0, 0, 768, 514});
    EXPECT_EQ(w.SourceWidth(), 3040);
    w.Command(qm::ID_SCALE_3);
    w.Command(qm::ID_REFIT);
    EXPECT_EQ(w.Settings().scale, 3);
    w.PanelResult(1031);
    EXPECT_EQ(w.Settings().scale, 1);
    w.PanelResult(1004);
    EXPECT_EQ(w.Settings().colouring.lut, kThreshold);
    w.PanelResult(2);  // Escape: nothing
    EXPECT_EQ(w.Settings().scale, 1);
}

TEST_F(Viewer, DraggingMovesTheWindowWithThePointer) {
    auto app = Start();
    ImageWindow& w = *app->MainWindow();
    w.OnSize({0, 0, 700, 500}, {100, 100, 800, 600});
    host.moves.clear();
    w.OnLButtonDown({150, 150});
    w.OnMouseMove({150, 150}, true);
    EXPECT_TRUE(host.moves.empty());
    w.OnMouseMove({160, 145}, true);
    ASSERT_EQ(host.moves.size(), 1u);
    EXPECT_EQ(host.moves[0], (Rect{110, 95, 810, 595}));
    w.OnMouseMove({170, 145}, false);  // button released elsewhere: drag ends
    w.OnMouseMove({200, 200}, true);
    EXPECT_EQ(host.moves.size(), 1u);
}

TEST_F(Viewer, ShutdownWritesSettingsThenClosesTheCard) {
    auto app = Start();
    app->MainWindow()->Command(qm::ID_LUT_THRESHOLD);
    app->Shutdown({-20, 30, 748, 544});
    EXPECT_EQ(store.written.size(), 11u);
    EXPECT_EQ(store.values["X"], "-20");
    EXPECT_EQ(store.values["LUT"], "2");
    EXPECT_EQ(card.log.back().subCommand, SubCommand::CloseCard);
    EXPECT_EQ(card.closes, 1);
    EXPECT_EQ(host.redraws, 1);
    EXPECT_EQ(app->MainWindow()->Image(), nullptr);
    app->Shutdown({});  // a second request changes nothing
    EXPECT_EQ(card.closes, 1);
    EXPECT_FALSE(app->OnIdle());
}

TEST_F(Viewer, SettingsThatCannotBeWrittenAreReported) {
    auto app = Start();
    store.writable = false;
    app->Shutdown({0, 0, 100, 100});
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_NE(op.messages[0].find("qm71.ini"), std::string::npos);
}

TEST_F(Viewer, ImageThatCannotBeAllocatedEndsTheProgramCleanly) {
    ViewerApp app(store, driver, op, clock, [] { return std::unique_ptr<DisplayImage>(); });
    EXPECT_EQ(app.MainWindow(), nullptr);
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0], kOutOfMemoryMessage);
    EXPECT_TRUE(card.log.empty());
}

TEST(DisplayImageBlock, HeaderDescribesABottomUp8BitPicture) {
    auto image = DisplayImage::Allocate();
    ASSERT_TRUE(image);
    const auto b = image->Block();
    EXPECT_EQ(b.size(), 6317096u);
    const unsigned char expected[40] = {40,   0,    0, 0, 0x00, 0x0C, 0, 0,
                                        0x08, 0x08, 0, 0, 1,    0,    8, 0};
    for (int i = 0; i < 40; ++i) EXPECT_EQ(std::to_integer<unsigned>(b[i]), expected[i]) << i;
    for (std::size_t i = 40; i < b.size(); i += 4099) EXPECT_EQ(b[i], std::byte{0});
    EXPECT_EQ(image->Pixels(), b.data() + 1064);
}

}  // namespace
}  // namespace qm71

namespace qm71 {
namespace {

TEST_F(Viewer, SoftwareTriggerReadsTheFrameTheCardAnswersWith) {
    std::uint16_t rows = 0;
    card.rows = [&] { return rows; };
    auto app = Start();
    app->ToggleLiveMode();  // frozen, as when the user triggers by hand
    card.log.clear();
    rows = 2056;
    EXPECT_TRUE(app->MainWindow()->SoftwareTrigger());
    ASSERT_GE(card.log.size(), 6u);
    const std::uint16_t bits[] = {0, 0, 2, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(card.log[i].subCommand, SubCommand::TriggerControl);
        EXPECT_EQ(card.log[i].value1, 0);
        EXPECT_EQ(card.log[i].value2, bits[i]);
    }
    EXPECT_EQ(card.log[4].subCommand, SubCommand::LineCount);
    EXPECT_EQ(card.log[5].subCommand, SubCommand::BeginReadout);
    EXPECT_EQ(card.lines.size(), 2056u);
    EXPECT_EQ(host.draws, 1);
    EXPECT_EQ(op.waitDepth, 0);  // the wait cursor is gone again
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(Viewer, SoftwareTriggerWithoutAnAnswerGivesUpOnce) {
    card.rows = [] { return std::uint16_t{0}; };
    auto app = Start();
    const auto before = clock.Now();
    EXPECT_FALSE(app->MainWindow()->SoftwareTrigger());
    EXPECT_GE(clock.Now() - before, kCardTimeout);
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0], kTriggerTimeoutMessage);
    EXPECT_TRUE(card.lines.empty());
    EXPECT_EQ(host.draws, 0);
    EXPECT_EQ(op.waitDepth, 0);
}

}  // namespace
}  // namespace qm71
