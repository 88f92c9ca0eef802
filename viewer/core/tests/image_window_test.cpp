#include "viewer/core/image_window.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "common/card_wait.h"
#include "resources/qm/commands.h"
#include "resources/qm/control_panel_ids.h"
#include "testing/fakes.h"
#include "viewer/core/viewer_app.h"

namespace qm71 {
namespace {

constexpr int kMin = INT_MIN;  // a THRESH a settings file may hold
using Request = testing::ScriptedCard::Request;
using Texts = std::vector<std::string>;

struct Viewer : ::testing::Test {
    testing::ScriptedCard card;
    Driver driver{card};
    testing::RecordingOperator op;
    ManualClock clock;
    testing::MemoryProfile store;
    testing::FakeHost host;
    std::unique_ptr<ViewerApp> app;

    ImageWindow& Start() {
        app = std::make_unique<ViewerApp>(store, driver, op, clock);
        const Rect placement = app->InitInstance(1280, 1024);
        app->MainWindow()->OnCreate(host, 1280, 1024);
        app->MainWindow()->OnSize({0, 0, placement.Width(), placement.Height()}, placement);
        app->Started();
        return *app->MainWindow();
    }
};

TEST_F(Viewer, StartUpNeedsTheImageThenLoadsTheCardInOrder) {
    ViewerApp failed(store, driver, op, clock, [] { return std::unique_ptr<DisplayImage>(); });
    EXPECT_EQ(failed.MainWindow(), nullptr);
    EXPECT_EQ(op.messages, Texts{kOutOfMemoryMessage});
    EXPECT_TRUE(card.log.empty());
    card.base = 0x720;
    EXPECT_EQ(Start().DownloadAttempts(), 1);
    using enum SubCommand;
    std::vector<Request> expected{
        {QueryBase, 0, 0},         {Download, 0x720, 0},  {PostDownload, 0x100, 0},
        {SetParameter, 0x88E0, 1}, {BeginTable, 1024, 0},
    };
    for (int j = 0; j < 512; ++j) expected.emplace_back(TableEntries, 2 * j, 2 * j + 1);
    expected.emplace_back(Commit, 0x88E0, 1);
    EXPECT_EQ(card.Requests(), expected);
    EXPECT_EQ(driver.Line().cardBase, 0x720u);
    // A base the card should not report is taken as 0x320; a load error is shown.
    card.log.clear();
    card.base = 0x500;
    card.download = 0x0305;
    EXPECT_EQ(Start().DownloadAttempts(), 3);
    EXPECT_EQ(card.log[1].value1, 0x320);
    EXPECT_EQ(op.messages, (Texts{kOutOfMemoryMessage, "DownLoad Fehler: #5 (3 Versuche)"}));
}

TEST_F(Viewer, FramesLandBottomUpAndTheCardIsArmedOnlyAfterADrawnFrame) {
    std::uint16_t available = 0;
    card.rows = [&] { return available; };
    std::byte* pixels = Start().Image()->Pixels();
    card.log.clear();
    // Armed, nothing yet: the loop rests, and longer when again nothing came.
    const IdleTurn first = app->OnIdle();
    const IdleTurn second = app->OnIdle();  // polls again without arming
    EXPECT_FALSE(first.drawn || second.drawn);
    EXPECT_GT(first.rest.count(), 0);
    EXPECT_GT(second.rest, first.rest);
    // Then one more row per poll: each row is read only once the card has it.
    card.rows = [&] { return available < 2056 ? ++available : available; };
    ASSERT_TRUE(app->OnIdle().drawn);
    EXPECT_EQ(card.Count(SubCommand::ArmFrame), 1u);
    EXPECT_GE(card.Count(SubCommand::LineCount), 2058u);
    // Drawn at once: the whole picture over the client area clamped to x 0.25.
    EXPECT_EQ(std::tuple(host.draws, host.drawn.picture.data() + 1064, host.drawn.source,
                         host.drawn.destination),
              std::tuple(1, pixels, Rect{0, 0, 3072, 2056}, Rect{0, 0, 768, 514}));
    ASSERT_EQ(card.lines.size(), 2056u);
    EXPECT_EQ(std::tuple(card.lines.front().destination, card.lines.back().destination,
                         card.lines.front().count),
              std::tuple(pixels + 2055 * 3072, pixels, 768u));
    EXPECT_EQ(pixels[2054 * 3072], std::byte{1});
    EXPECT_EQ(driver.Line().destination, pixels);
    EXPECT_TRUE(app->OnIdle().drawn);  // drawn before, so armed again
    EXPECT_EQ(card.Count(SubCommand::ArmFrame), 2u);
}

TEST_F(Viewer, StalledCardTimesOutOnceStopsLiveModeAndIsReArmedOnResume) {
    card.rows = [] { return std::uint16_t{1000}; };
    std::byte* pixels = Start().Image()->Pixels();
    const auto before = clock.Now();
    EXPECT_FALSE(app->OnIdle().drawn);
    EXPECT_GE(clock.Now() - before, kCardTimeout);
    EXPECT_LT(clock.Now() - before, kCardTimeout + std::chrono::milliseconds(10));
    EXPECT_EQ(op.messages, Texts{kCardTimeoutMessage});
    EXPECT_FALSE(app->Acquiring());
    EXPECT_EQ(std::tuple(card.lines.size(), host.draws), std::tuple(1000u, 0));
    EXPECT_EQ(driver.Line().destination, pixels);
    app->ToggleLiveMode();
    card.log.clear();
    app->OnIdle();
    EXPECT_EQ(card.log[0].subCommand, SubCommand::ArmFrame);
}

TEST_F(Viewer, SoftwareTriggerReadsTheAnsweredFrameOrGivesUpOnce) {
    std::uint16_t rows = 2056;
    card.rows = [&] { return rows; };
    ImageWindow& w = Start();
    card.log.clear();
    EXPECT_TRUE(w.SoftwareTrigger());
    ASSERT_GE(card.log.size(), 6u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(card.Requests()[i], Request(SubCommand::TriggerControl, 0, "\0\0\2\1"[i]));
    EXPECT_EQ(card.log[4].subCommand, SubCommand::LineCount);
    EXPECT_EQ(card.log[5].subCommand, SubCommand::BeginReadout);
    EXPECT_EQ(std::tuple(card.lines.size(), host.draws), std::tuple(2056u, 1));
    EXPECT_EQ(card.Count(SubCommand::LineCount), 2u);  // all rows there: counted once
    rows = 0;
    const auto before = clock.Now();
    EXPECT_FALSE(w.SoftwareTrigger());
    EXPECT_GE(clock.Now() - before, kCardTimeout);
    EXPECT_EQ(op.messages, Texts{kTriggerTimeoutMessage});
    EXPECT_EQ(std::tuple(card.lines.size(), host.draws), std::tuple(2056u, 1));
    EXPECT_EQ(std::tuple(op.waitCalls, op.waitDepth), std::tuple(2, 0));
}

// A refused step beeps and leaves even the colouring as it was.
TEST_F(Viewer, ThresholdKeysAtTheirLimits) {
    using enum qm::CommandId;
    ImageWindow& w = Start();
    ColouringSettings& c = w.Settings().colouring;
    const struct {
        int id, before, after;
    } cases[] = {
        {ID_THRESH_UP, 255, 255},      {ID_THRESH_UP, 254, 255},      {ID_THRESH_DOWN, 0, 0},
        {ID_THRESH_DOWN, 1, 0},        {ID_THRESH_PAGE_UP, 240, 240}, {ID_THRESH_PAGE_UP, 239, 255},
        {ID_THRESH_PAGE_DOWN, 15, 15}, {ID_THRESH_PAGE_DOWN, 16, 0},  {ID_THRESH_DOWN, kMin, kMin},
    };
    for (const auto& k : cases) {
        c.lut = kNormal;
        c.thresh = k.before;
        const int beeps = op.beeps;
        EXPECT_TRUE(w.Command(k.id));
        const bool refused = k.before == k.after;
        EXPECT_EQ(std::tuple(c.thresh, op.beeps - beeps, c.lut),
                  std::tuple(k.after, refused ? 1 : 0, refused ? kNormal : kThreshold))
            << k.id << " at " << k.before;
    }
    w.Command(ID_LUT_INVERSE);
    EXPECT_EQ(w.Image()->ColourTable()[10], (RgbQuad{245, 245, 245, 0}));
    EXPECT_FALSE(w.Command(ID_CONTROL_PANEL));
}

// The window's messages as the front end reports them: keys through table
// 130, the right button, and dragging by the picture. A drag ends with a
// release anywhere, a modal dialog or the loss of the focus, also when the
// release itself went to the dialog.
TEST_F(Viewer, KeysTheRightButtonAndDragging) {
    ImageWindow& w = Start();
    EXPECT_EQ(std::tuple(app->OnKeyDown('O', kModControl), app->OnRButtonDown()),
              std::tuple(qm::ID_CONTROL_PANEL, qm::ID_CONTROL_PANEL));
    EXPECT_EQ(app->OnKeyDown('T', kModControl | kModAlt) + app->OnKeyDown('T', kModControl), 0);
    EXPECT_EQ(app->OnKeyDown(kKeyF5, kModNone), 0);
    EXPECT_EQ(std::tuple(w.Settings().colouring.lut, app->Acquiring()),
              std::tuple(kThreshold, false));
    for (const auto& [key, scale] : {std::pair{'4', 3}, {'Z', 3}, {'2', 2}, {'1', 1}, {'5', 0}}) {
        app->OnKeyDown(key, kModControl);
        EXPECT_EQ(w.Settings().scale, scale) << key;
    }
    // The panel's results: those the window carries out, and those it leaves.
    EXPECT_EQ(std::tuple(w.PanelResult(qm::kInverse), w.PanelResult(qm::kScale3),
                         w.PanelResult(qm::kOptions), w.PanelResult(qm::kEnd)),
              std::tuple(0, 0, qm::ID_COLOURS, qm::ID_APP_EXIT));
    EXPECT_EQ(std::tuple(w.Settings().colouring.lut, w.Settings().scale), std::tuple(kInverse, 3));

    app->OnSize({0, 0, 700, 500}, {100, 100, 800, 600});
    host.moves.clear();
    app->OnLButtonDown({150, 150});
    for (const Point p : {Point{150, 150}, {160, 145}}) app->OnMouseMove(p, true);
    app->OnMouseMove({170, 145}, false);  // button released elsewhere: the drag ends
    app->OnMouseMove({200, 200}, true);
    for (const auto& interrupt : std::vector<std::function<void()>>{
             [&] { app->OnModal(true), app->OnModal(false); }, [&] { app->OnKillFocus(); },
             [&] { app->OnButtonUp(); }}) {
        app->OnLButtonDown({200, 200});
        interrupt();
        app->OnMouseMove({300, 300}, true);
    }
    EXPECT_EQ(host.moves, (std::vector<Rect>{{110, 95, 810, 595}}));
    app->OnSize({0, 0, 700, 500}, {INT_MAX - 700, 0, INT_MAX, 500});  // held at the end of int
    app->OnLButtonDown({kMin, 0});
    app->OnMouseMove({INT_MAX, 0}, true);
    EXPECT_EQ(host.moves.back(), (Rect{INT_MAX - 700, 0, INT_MAX, 500}));
}

// Written before the card is closed, in the fixed order; a failed write says
// where and why.
TEST_F(Viewer, ShutdownWritesTheSettingsThenClosesTheCardOnce) {
    Start().Command(qm::ID_LUT_THRESHOLD);
    store.writable = false;
    app->Shutdown({-20, 30, 748, 544});
    app->Shutdown({});
    EXPECT_EQ(store.written,
              (Texts{"X", "Y", "B", "H", "LUT", "SCALE", "THRESH", "MITTE", "VG", "MG", "BG"}));
    EXPECT_EQ(std::tuple(store.values["X"], store.values["B"], store.values["LUT"]),
              std::tuple("-20", "768", "2"));
    EXPECT_EQ(card.log.back().subCommand, SubCommand::CloseCard);
    EXPECT_EQ(std::tuple(card.closes, host.redraws, app->Acquiring()), std::tuple(1, 1, false));
    EXPECT_EQ(app->MainWindow()->Image(), nullptr);
    EXPECT_TRUE(host.shown.picture.empty());  // nothing left to paint from
    EXPECT_EQ(op.messages, Texts{"Die Einstellungen (qm71.ini) konnten nicht in memory "
                                 "gespeichert werden: Read-only file system"});
}

}  // namespace
}  // namespace qm71
