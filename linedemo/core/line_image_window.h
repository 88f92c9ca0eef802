#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "common/colour_table.h"
#include "common/driver.h"
#include "common/image_block.h"
#include "common/window_drag.h"
#include "linedemo/core/line_control_panel.h"
#include "linedemo/core/line_settings.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/profile_store.h"
#include "platform/window_host.h"

namespace qm71 {

// Shown once when the card stops delivering lines in the middle of an image.
inline constexpr const char* kLineTimeoutMessage =
    "Zeitüberschreitung: die Karte liefert keine Zeilen.";

// The line demo's main window without its window-system half: the line image,
// the display settings and trigger mode, the card, the acquisition cycle and
// what the window's commands and messages do.
class LineImageWindow {
  public:
    enum class Cycle { NotRun, Drawn, TimedOut };

    // The 5000 x 640 image block; nullptr when the memory is not there.
    static std::unique_ptr<ImageBlock> AllocateImage();

    // `image` is the picture, `incoming` the block the next image is acquired
    // into; the two change places when an image is complete, so the picture
    // (drawn, repainted, saved) is always one whole acquisition. Either may
    // be null: the window works, but nothing is acquired or saved.
    LineImageWindow(std::unique_ptr<ImageBlock> image, std::unique_ptr<ImageBlock> incoming,
                    const LineSettings& settings, Driver& driver, Operator& op, Clock& clock);

    // Opens the driver and prepares the card for the current trigger mode;
    // says so when there is no driver.
    void OpenLineGrabber();

    // The window exists: palette, first fit, colour table (which sizes the
    // window for the scale). `displayReady` false: acquisition never runs.
    void OnCreate(WindowHost& host, int screenWidth, int screenHeight, bool displayReady = true);
    // The window system moved or sized the window (client area, whole window).
    void OnSize(const Rect& client, const Rect& window);
    // The window goes away: settings written, image released, card closed.
    // Why the settings could not be written, when they could not.
    std::optional<ProfileStore::WriteFailure> OnDestroy(ProfileStore& store, const Rect& window);

    // One pass of the acquisition loop: an image in the current mode, which
    // becomes the picture once all its lines are in, then the live drawing
    // with "Idle N" over it. An image the card left unfinished is dropped;
    // the picture stays the last complete one.
    Cycle AcquisitionCycle();
    // Flips the trigger mode and tells the card; the next cycle uses it.
    void ToggleSoftwareTrigger();

    // The window's own commands by id. False for ids left to the owner:
    // control panel, colours dialog, live mode, information box.
    bool Command(int id);
    // What the control panel shows when it opens.
    LinePanelState PanelState() const;
    // Carries out what the control panel ended with. Returns the command
    // left to the front end ("Optionen": ID_COLOURS, "Programmende":
    // ID_APP_EXIT), or 0.
    int PanelResult(int result);

    // The lookup from the colour settings, then ResizeForScale.
    void BuildColorTable();
    void ResizeForScale();
    void FitToScale();

    // The next numbered BMP file in the capture folder (the working
    // directory unless set). Its path, or empty when nothing was saved (the
    // reason has been shown).
    std::filesystem::path SaveNumberedBitmap();
    void SetCaptureFolder(std::filesystem::path folder) { captureFolder_ = std::move(folder); }

    // What pauses acquisition: no keyboard focus, a system key (Alt) held, a
    // drag, a modal dialog over the window. A button released anywhere, a
    // modal dialog or the loss of the focus ends a drag; the focus comes back
    // without Alt when Alt is not held then.
    void OnSetFocus(std::uint8_t modifiers);
    void OnKillFocus();
    void OnKeyDown(std::uint16_t key);
    void OnKeyUp(std::uint16_t key);
    void OnModal(bool open);
    // Dragging the window by its picture (screen coordinates).
    void OnLButtonDown(Point screen) { drag_.Begin(screen); }
    void OnMouseMove(Point screen, bool leftHeld);
    void OnButtonUp() { drag_.End(); }
    // The right button asks for the control panel.
    int OnRButtonDown() const;

    // Nothing pauses acquisition.
    bool AcquireEnabled() const;
    // A cycle would acquire: enabled, and an image block and a card to fill it.
    bool CanAcquire() const { return AcquireEnabled() && image_ && driver_.IsOpen(); }

    // What the client area shows: the part of the image that fills it, the
    // last line acquired at the top. Black without an image block.
    Drawing Picture() const;

    LineDisplaySettings& Settings() { return settings_; }
    const LineDisplaySettings& Settings() const { return settings_; }
    bool Trigger() const { return trigger_; }
    const std::array<PaletteEntry, 256>& DisplayPalette() const { return palette_; }
    const ImageBlock* Image() const { return image_.get(); }
    bool CardOpen() const { return driver_.IsOpen(); }
    int CardBase() const { return cardBase_; }
    // Images drawn so far; wraps from the largest int to 0.
    int CycleCounter() const { return cycleCounter_; }
    // The last number a save tried.
    int BitmapNumber() const { return bitmapNumber_; }
    int SourceWidth() const { return sourceWidth_; }
    int SourceHeight() const { return sourceHeight_; }

  private:
    void MoveTo(const Rect& window);
    // Fits `window` to the screen and the scale and moves there when that
    // changes where the window is, or always with `move`.
    void Settle(const Rect& window, bool move);

    Driver& driver_;
    Operator& op_;
    Clock& clock_;
    WindowHost* host_ = nullptr;
    std::uint16_t cardBase_ = kDefaultCardBase;

    std::unique_ptr<ImageBlock> image_;
    std::unique_ptr<ImageBlock> incoming_;
    LineDisplaySettings settings_;
    bool trigger_;
    std::array<PaletteEntry, 256> palette_{};

    bool displayReady_ = false;
    bool focus_ = false;
    bool systemKey_ = false;
    bool blocked_ = false;
    WindowDrag drag_;

    Rect screen_{};
    Rect window_{};
    Rect client_{};
    bool sized_ = false;  // the window system has reported a size
    int frameWidth_ = 0;  // frame and caption around the client area
    int frameHeight_ = 0;
    // A fit we asked for and the window system has not (yet) given: not asked
    // for again, so a window system that declines it is not pestered.
    std::optional<Rect> asked_;
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    ShownDrawing shown_;

    int cycleCounter_ = 0;
    int bitmapNumber_ = 0;
    std::filesystem::path captureFolder_;
};

}  // namespace qm71
