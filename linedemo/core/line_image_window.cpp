#include "linedemo/core/line_image_window.h"

#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "common/colour_commands.h"
#include "linedemo/core/line_acquisition.h"
#include "linedemo/core/line_geometry.h"
#include "linedemo/core/numbered_bitmap.h"
#include "platform/accelerator.h"
#include "resources/qmdemo/commands.h"
#include "resources/qmdemo/control_panel_ids.h"

namespace qm71 {

std::unique_ptr<ImageBlock> LineImageWindow::AllocateImage() {
    return ImageBlock::Allocate(kLineWidth, kLineCount, 256);
}

LineImageWindow::LineImageWindow(std::unique_ptr<ImageBlock> image,
                                 std::unique_ptr<ImageBlock> incoming, const LineSettings& settings,
                                 Driver& driver, Operator& op, Clock& clock)
    : driver_(driver),
      op_(op),
      clock_(clock),
      image_(incoming ? std::move(image) : nullptr),
      incoming_(image_ ? std::move(incoming) : nullptr),
      settings_(settings.display),
      trigger_(settings.trigger) {}

void LineImageWindow::OpenLineGrabber() {
    if (!driver_.Open()) {
        op_.Message("Treiber nicht gefunden", "Fehler", kUnownedBox);
        return;
    }
    cardBase_ = qm71::OpenLineGrabber(driver_, trigger_);
}

void LineImageWindow::OnCreate(WindowHost& host, int screenWidth, int screenHeight,
                               bool displayReady) {
    displayReady_ = displayReady;
    screen_ = {0, 0, screenWidth, screenHeight};
    host_ = &host;
    // The true colours at every index, also the twenty fixed ones, so that
    // the colours dialog paints its swatches as they will show.
    palette_ = CreateDisplayPalette();
    FitToScale();
    BuildColorTable();
}

void LineImageWindow::OnSize(const Rect& client, const Rect& window) {
    window_ = window;
    client_ = client;
    frameWidth_ = window.Width() - client.Width();
    frameHeight_ = window.Height() - client.Height();
    sized_ = true;
    if (asked_ && *asked_ == window) asked_.reset();
    FitToScale();
}

std::optional<ProfileStore::WriteFailure> LineImageWindow::OnDestroy(ProfileStore& store,
                                                                     const Rect& window) {
    window_ = window;
    const auto failure = LineSettings{settings_, trigger_, window_}.Write(store, cardBase_);
    image_.reset();
    incoming_.reset();
    shown_.Update(host_, Picture());
    driver_.CloseGrabber();
    if (host_) host_->RedrawOtherWindows();
    return failure;
}

LineImageWindow::Cycle LineImageWindow::AcquisitionCycle() {
    if (!CanAcquire()) return Cycle::NotRun;
    std::byte* pixels = incoming_->Pixels();
    bool complete = false;
    if (trigger_) {
        // The lines a triggered image does not reach keep what the picture
        // has there.
        const std::size_t kept = LineOffset(kTriggeredLines);
        std::copy(image_->Pixels() + kept, image_->Pixels() + image_->PixelSize(), pixels + kept);
        complete = TriggeredImage(driver_, clock_, pixels);
    } else {
        complete = FreeRunImage(driver_, clock_, pixels);
    }
    if (!complete) return Cycle::TimedOut;
    // The colouring goes with the picture.
    std::ranges::copy(image_->ColourTable(), incoming_->ColourTable().begin());
    std::swap(image_, incoming_);
    Drawing live = Picture();
    live.text = "Idle " + std::to_string(cycleCounter_);
    live.textAt = {10, 60};
    cycleCounter_ = cycleCounter_ == INT_MAX ? 0 : cycleCounter_ + 1;
    shown_.DrawNow(host_, live);
    return Cycle::Drawn;
}

void LineImageWindow::ToggleSoftwareTrigger() {
    trigger_ = !trigger_;
    SetLineMode(driver_, trigger_);
}

bool LineImageWindow::Command(int id) {
    if (RunColourCommand(id, settings_.colouring, op_, [this] { BuildColorTable(); })) return true;
    // Ctrl+5, Ctrl+1, Ctrl+2, Ctrl+4; 1:8 and 1:4 only from the panel.
    constexpr std::pair<int, int> kScaleKeys[] = {{qmdemo::ID_SCALE_1_2, 2},
                                                  {qmdemo::ID_SCALE_1_1, 3},
                                                  {qmdemo::ID_SCALE_2_1, 4},
                                                  {qmdemo::ID_SCALE_4_1, 5}};
    for (const auto& [key, scale] : kScaleKeys) {
        if (id == key) {
            settings_.scale = scale;
            ResizeForScale();
            return true;
        }
    }
    switch (id) {
        case qmdemo::ID_REFIT:
            ResizeForScale();
            break;
        case qmdemo::ID_SOFTWARE_TRIGGER:
            ToggleSoftwareTrigger();
            break;
        case qmdemo::ID_REDRAW_OTHERS:
            if (host_) host_->RedrawOtherWindows();
            break;
        case qmdemo::ID_SAVE_NUMBERED:
            SaveNumberedBitmap();
            break;
        default:
            return false;
    }
    return true;
}

LinePanelState LineImageWindow::PanelState() const {
    return {settings_.colouring.lut, settings_.scale, trigger_, kLineWidth, kLineCount};
}

int LineImageWindow::PanelResult(int result) {
    if (result == qmdemo::kOptions) return qmdemo::ID_COLOURS;
    if (result == qmdemo::kEnd) return qmdemo::ID_APP_EXIT;
    if (result == qmdemo::kOk) {
        BuildColorTable();
    } else if (result >= qmdemo::kNormal && result <= qmdemo::kThreshold) {
        settings_.colouring.lut = result - qmdemo::kNormal;
        BuildColorTable();
    } else if (result >= qmdemo::kScale1To8 && result <= qmdemo::kScale4To1) {
        settings_.scale = result - qmdemo::kScale1To8;
        ResizeForScale();
    } else if (result == qmdemo::kSoftwareTrigger) {
        ToggleSoftwareTrigger();
    }
    return 0;
}

void LineImageWindow::BuildColorTable() {
    if (image_) FillColorTable(settings_.colouring, image_->ColourTable());
    // Every colour change also brings the window back to the size of the
    // whole image at its scale.
    ResizeForScale();
    shown_.Update(host_, Picture(), true);
}

void LineImageWindow::MoveTo(const Rect& window) {
    window_ = window;
    if (host_) host_->MoveWindow(window_);
}

void LineImageWindow::ResizeForScale() {
    asked_.reset();
    Settle(LineResizeForScale(settings_.scale, window_, screen_.right, screen_.bottom), true);
}

void LineImageWindow::FitToScale() {
    Settle(window_, false);
}

void LineImageWindow::Settle(const Rect& window, bool move) {
    const Rect client{0, 0, window.Width() - frameWidth_, window.Height() - frameHeight_};
    // Before the window system has reported a client area there is nothing
    // to fit.
    if (!sized_ || client.Width() <= 0 || client.Height() <= 0) {
        if (move) MoveTo(window);
        return;
    }
    const LineFit f =
        LineFitToScale(settings_.scale, window, client, screen_.right, screen_.bottom);
    sourceWidth_ = f.sourceWidth;
    sourceHeight_ = f.sourceHeight;
    shown_.Update(host_, Picture());
    if (!move && (f.window == window_ || (asked_ && *asked_ == f.window))) return;
    asked_ = f.window;
    MoveTo(f.window);
}

std::filesystem::path LineImageWindow::SaveNumberedBitmap() {
    if (!image_) {
        op_.Message(kNoImageToSaveMessage);
        return {};
    }
    return qm71::SaveNumberedBitmap(captureFolder_, bitmapNumber_, image_->Block(), op_);
}

void LineImageWindow::OnMouseMove(Point screen, bool leftHeld) {
    if (const auto moved = drag_.Move(screen, leftHeld, window_)) {
        asked_.reset();
        MoveTo(*moved);
    }
}

void LineImageWindow::OnSetFocus(std::uint8_t modifiers) {
    focus_ = true;
    // An Alt released while another window had the keys was never heard here.
    if (!(modifiers & kModAlt)) systemKey_ = false;
}

void LineImageWindow::OnKillFocus() {
    focus_ = false;
    drag_.End();
}

void LineImageWindow::OnKeyDown(std::uint16_t key) {
    if (key == kKeyMenu) systemKey_ = true;
}

void LineImageWindow::OnKeyUp(std::uint16_t key) {
    if (key == kKeyMenu) systemKey_ = false;
}

void LineImageWindow::OnModal(bool open) {
    blocked_ = open;
    if (open) drag_.End();
}

int LineImageWindow::OnRButtonDown() const {
    return qmdemo::ID_CONTROL_PANEL;
}

bool LineImageWindow::AcquireEnabled() const {
    return displayReady_ && focus_ && !systemKey_ && !blocked_ && !drag_.Active();
}

Drawing LineImageWindow::Picture() const {
    if (!image_) return {};
    return {.picture = image_->Block(),
            .source = {0, 0, sourceWidth_, sourceHeight_},
            .destination = client_};
}

}  // namespace qm71
