#include "viewer/core/image_window.h"

#include <cstdio>
#include <string>
#include <utility>

#include "common/card_wait.h"
#include "common/colour_commands.h"
#include "resources/qm/commands.h"
#include "resources/qm/control_panel_ids.h"
#include "viewer/core/window_geometry.h"

namespace qm71 {

// The viewer's colouring keys are the shared ones.
static_assert(qm::ID_LUT_INVERSE == kCmdLutInverse && qm::ID_LUT_NORMAL == kCmdLutNormal &&
              qm::ID_LUT_THRESHOLD == kCmdLutThreshold && qm::ID_FG_NEXT == kCmdFgNext &&
              qm::ID_BG_NEXT == kCmdBgNext && qm::ID_FG_PREVIOUS == kCmdFgPrevious &&
              qm::ID_BG_PREVIOUS == kCmdBgPrevious && qm::ID_THRESH_UP == kCmdThreshUp &&
              qm::ID_THRESH_DOWN == kCmdThreshDown && qm::ID_THRESH_PAGE_UP == kCmdThreshPageUp &&
              qm::ID_THRESH_PAGE_DOWN == kCmdThreshPageDown);

namespace {
constexpr std::uint16_t kWordsPerRow = DisplayImage::kWidth / 4;
}  // namespace

ImageWindow::ImageWindow(std::unique_ptr<DisplayImage> image, const DisplaySettings& settings,
                         Driver& driver, Operator& op, Clock& clock)
    : image_(std::move(image)), settings_(settings), driver_(driver), op_(op), clock_(clock) {
    driver_.Line().destination = image_ ? image_->Pixels() : nullptr;
}

void ImageWindow::OpenGrabber() {
    if (!driver_.Open()) {
        op_.Message("Treiber nicht gefunden", "Fehler", kUnownedBox);
        return;
    }
    cardOpen_ = true;
    const LoadedCard card = LoadCard(driver_, {.tableStep = 1,
                                               .lines = 1,
                                               .parameterFirst = true,
                                               .downloadValue2Cleared = true,
                                               .downloadErrors = &op_});
    cardBase_ = card.base;
    downloadAttempts_ = card.downloadAttempts;
}

void ImageWindow::OnCreate(WindowHost& host, int screenWidth, int screenHeight) {
    host_ = &host;
    screenWidth_ = screenWidth;
    screenHeight_ = screenHeight;
    palette_ = CreateDisplayPalette();
    FitToScale();
    BuildColorTable();
}

void ImageWindow::OnSize(const Rect& client, const Rect& window) {
    client_ = client;
    window_ = window;
    FitToScale();
}

Drawing ImageWindow::Picture() const {
    if (!image_) return {};
    return {.picture = image_->Block(),
            .source = {0, 0, sourceWidth_, sourceHeight_},
            .destination = client_};
}

std::optional<ProfileStore::WriteFailure> ImageWindow::OnDestroy(ProfileStore& store,
                                                                 const Rect& window) {
    window_ = window;
    const auto failure = ViewerSettings{window_, settings_}.Write(store);
    image_.reset();
    shown_.Update(host_, Picture());
    driver_.Line().destination = nullptr;
    driver_.CloseGrabber();
    cardOpen_ = false;
    if (host_) host_->RedrawOtherWindows();
    return failure;
}

ImageWindow::Grab ImageWindow::GrabCycle() {
    if (!image_) return Grab::NoRows;
    if (frameDrawn_) driver_.Send(SubCommand::ArmFrame);
    std::uint16_t rows = 0, v2 = 0;
    driver_.DriverCommand(SubCommand::LineCount, rows, v2);
    if (rows == 0) {
        frameDrawn_ = false;
        return Grab::NoRows;
    }
    driver_.DriverCommand(SubCommand::BeginReadout, rows, v2);
    // A frame given up half-way is re-armed by the next cycle.
    frameDrawn_ = true;
    if (!ReadFrame(image_->Pixels())) return Grab::TimedOut;
    shown_.DrawNow(host_, Picture());
    return Grab::Drawn;
}

bool ImageWindow::ReadFrame(std::byte* pixels) {
    LineRequest& line = driver_.Line();
    std::byte* const remembered = line.destination;
    line.count = kWordsPerRow;
    std::byte* destination =
        pixels + (DisplayImage::kHeight - 1) * std::size_t{DisplayImage::kWidth};
    bool complete = true;
    StreamWait wait(clock_, DisplayImage::kHeight);
    // Rows the card has counted stay there until the frame is read, so the
    // card is asked again only when the rows it last counted are read.
    int counted = 0;
    const auto lineCount = [&] {
        std::uint16_t count = 0, v2 = 0;
        driver_.DriverCommand(SubCommand::LineCount, count, v2);
        counted = count;
        return counted;
    };
    for (int row = 0; row < DisplayImage::kHeight; ++row) {
        if (counted <= row && !wait.Until(lineCount, [row](int count) { return count > row; })) {
            complete = false;
            break;
        }
        line.destination = destination;
        driver_.TransferLine();
        destination -= DisplayImage::kWidth;
    }
    line.destination = remembered;
    return complete;
}

bool ImageWindow::SoftwareTrigger() {
    if (!image_) return false;
    WaitCursor wait(op_);
    for (const int bits : {0, 0, 2, 1})
        driver_.Send(SubCommand::TriggerControl, 0, static_cast<std::uint16_t>(bits));
    std::uint16_t rows = 0, v2 = 0;
    const bool answered = PollCard(clock_, [&] {
        rows = 0;
        driver_.DriverCommand(SubCommand::LineCount, rows, v2);
        return rows != 0;
    });
    if (!answered) {
        op_.Message(kTriggerTimeoutMessage, "Fehler");
        return false;
    }
    driver_.DriverCommand(SubCommand::BeginReadout, rows, v2);
    const bool complete = ReadFrame(image_->Pixels());
    shown_.DrawNow(host_, Picture());
    if (!complete) op_.Message(kCardTimeoutMessage, "Fehler");
    return complete;
}

void ImageWindow::BuildColorTable() {
    if (image_) FillColorTable(settings_.colouring, image_->ColourTable());
    shown_.Update(host_, Picture(), true);
}

void ImageWindow::FitToScale() {
    const Fit f = qm71::FitToScale(settings_.scale, client_, window_);
    client_ = f.client;
    window_ = f.window;
    sourceWidth_ = f.sourceWidth;
    sourceHeight_ = f.sourceHeight;
    shown_.Update(host_, Picture());
    if (f.changed && host_) host_->MoveWindow(window_);
}

void ImageWindow::ResizeForScale() {
    window_ = qm71::ResizeForScale(settings_.scale, window_, screenWidth_, screenHeight_);
    if (host_) host_->MoveWindow(window_);
    FitToScale();
}

bool ImageWindow::Command(int id) {
    if (RunColourCommand(id, settings_.colouring, op_, [this] { BuildColorTable(); })) return true;
    auto setScale = [&](int scale) {
        settings_.scale = scale;
        ResizeForScale();
    };
    switch (id) {
        case qm::ID_SCALE_0:
            setScale(0);
            break;
        case qm::ID_SCALE_1:
            setScale(1);
            break;
        case qm::ID_SCALE_2:
            setScale(2);
            break;
        case qm::ID_SCALE_3:
            setScale(3);
            break;
        case qm::ID_REFIT:
            ResizeForScale();
            break;
        case qm::ID_REDRAW_OTHERS:
            if (host_) host_->RedrawOtherWindows();
            break;
        default:
            return false;
    }
    return true;
}

int ImageWindow::PanelResult(int id) {
    if (id == qm::kOptions) return qm::ID_COLOURS;
    if (id == qm::kEnd) return qm::ID_APP_EXIT;
    if (id >= qm::kNormal && id <= qm::kThreshold) {
        settings_.colouring.lut = id - qm::kNormal;
        BuildColorTable();
    } else if (id >= qm::kScale0 && id <= qm::kScale3) {
        settings_.scale = id - qm::kScale0;
        ResizeForScale();
    }
    return 0;
}

void ImageWindow::OnMouseMove(Point screen, bool leftHeld) {
    if (const auto moved = drag_.Move(screen, leftHeld, window_)) {
        window_ = *moved;
        if (host_) host_->MoveWindow(window_);
    }
}

void ImageWindow::OnModal(bool open) {
    if (open) drag_.End();
}

int ImageWindow::OnRButtonDown() const {
    return qm::ID_CONTROL_PANEL;
}

}  // namespace qm71
