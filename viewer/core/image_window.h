#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "common/colour_table.h"
#include "common/driver.h"
#include "common/window_drag.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/window_host.h"
#include "viewer/core/display_image.h"
#include "viewer/core/viewer_settings.h"

namespace qm71 {

// Shown once when the card stops delivering rows in the middle of a frame.
inline constexpr const char* kCardTimeoutMessage =
    "Zeitüberschreitung: die Karte liefert keine Zeilen.";

// Shown when the card answers a software trigger with no frame.
inline constexpr const char* kTriggerTimeoutMessage =
    "Zeitüberschreitung: die Karte liefert nach dem Trigger kein Bild.";

// The viewer's main window without its window-system half: the image block,
// the display settings, the card, and what the window's commands and messages do.
class ImageWindow {
  public:
    enum class Grab { NoRows, Drawn, TimedOut };

    ImageWindow(std::unique_ptr<DisplayImage> image, const DisplaySettings& settings,
                Driver& driver, Operator& op, Clock& clock);

    // Opens, loads and configures the card; says so when it cannot.
    void OpenGrabber();

    // The window exists: palette, first fit, first colour table.
    void OnCreate(WindowHost& host, int screenWidth, int screenHeight);
    // The window system changed the window's size or position.
    void OnSize(const Rect& client, const Rect& window);
    // The window goes away: settings written, image released, card closed.
    // Why the settings could not be written, when they could not.
    std::optional<ProfileStore::WriteFailure> OnDestroy(ProfileStore& store, const Rect& window);

    // One pass of the frame loop.
    Grab GrabCycle();
    // Transfers one frame row by row into `pixels`, top picture row last in
    // memory. False when the card stopped delivering.
    bool ReadFrame(std::byte* pixels);

    // Fires the card's software trigger and reads the frame it answers with
    // into the image, then repaints. False (and said so) when no frame came.
    bool SoftwareTrigger();

    // The window's own commands (colouring, threshold, scale, redraw). False
    // for ids it leaves to its owner.
    bool Command(int id);
    // Carries out what the control panel ended with. Returns the command
    // left to the front end ("Optionen": ID_COLOURS, "Programmende":
    // ID_APP_EXIT), or 0.
    int PanelResult(int id);

    void BuildColorTable();
    void FitToScale();
    void ResizeForScale();

    // Dragging the window by its picture (screen coordinates). A button
    // released anywhere, a modal dialog or the loss of the focus ends a drag.
    void OnLButtonDown(Point screen) { drag_.Begin(screen); }
    void OnMouseMove(Point screen, bool leftHeld);
    void OnButtonUp() { drag_.End(); }
    void OnKillFocus() { drag_.End(); }
    void OnModal(bool open);
    // Keys and the focus change nothing here; the right button asks for the
    // control panel.
    void OnKeyDown(std::uint16_t) {}
    void OnKeyUp(std::uint16_t) {}
    void OnSetFocus(std::uint8_t) {}
    int OnRButtonDown() const;

    // What the client area shows: the part of the image that fills it.
    Drawing Picture() const;

    DisplaySettings& Settings() { return settings_; }
    const DisplaySettings& Settings() const { return settings_; }
    const std::array<PaletteEntry, 256>& DisplayPalette() const { return palette_; }
    DisplayImage* Image() { return image_.get(); }
    // The driver was found and the card has not been closed.
    bool CardOpen() const { return cardOpen_; }
    int SourceWidth() const { return sourceWidth_; }
    int SourceHeight() const { return sourceHeight_; }
    int DownloadAttempts() const { return downloadAttempts_; }

  private:
    std::unique_ptr<DisplayImage> image_;
    DisplaySettings settings_;
    Driver& driver_;
    Operator& op_;
    Clock& clock_;
    WindowHost* host_ = nullptr;

    std::array<PaletteEntry, 256> palette_{};
    std::uint16_t cardBase_ = kDefaultCardBase;
    int downloadAttempts_ = 0;
    bool cardOpen_ = false;
    bool frameDrawn_ = true;

    int screenWidth_ = 0;
    int screenHeight_ = 0;
    Rect client_{};
    Rect window_{};
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    ShownDrawing shown_;

    WindowDrag drag_;
};

}  // namespace qm71
