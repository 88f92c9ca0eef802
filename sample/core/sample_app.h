#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/card_service.h"
#include "platform/operator.h"
#include "platform/window_host.h"
#include "portlib/qm71port.h"
#include "sample/core/camera_init.h"
#include "sample/core/image_buffer.h"

namespace qm71::sample {

// One grab command: the layout it prepares the buffer for (commands of the
// same size and depth share one), its geometry and its entry.
struct GrabCommand {
    int layout;
    bool sizeFromDialog;  // W x H, else 512 x 256
    int bits;
    int slots;  // 2 for the averaging entries' 16-bit sums
    int (*entry)(const FrameDescriptor*);
    const char* menuText;
};

// F1..F8, command ids 1000..1007; null for any other id.
const GrabCommand* FindGrabCommand(int id);

// The program's state and its commands, without windows. The grabs go
// through the acquisition library, which reaches the card through the ports
// installed in it.
struct SampleState {
    std::uint32_t frameWidth = 256;    // W of the W x H grabs
    std::uint32_t frameHeight = 256;   // H
    std::uint32_t averagingIndex = 0;  // k: averaging combines 2^k frames
    std::uint32_t ilut = 0;
    std::uint32_t contrast = 0;
    int grabMode = 0;  // layout the buffer was last prepared for; 0 = none
    std::unique_ptr<ImageBuffer> image;
    FrameDescriptor descriptor{};
};

class SampleApp final : public WindowEvents {
  public:
    SampleApp(CardService& card, SampleCamera& camera, Operator& op)
        : card_(card), camera_(camera), op_(op) {}

    // Card reset, the lookup tables, averaging over 4 frames, the camera.
    void Start(const SampleCamera::TitleSink& title);
    // A grab command (F1..F8). False when nothing was grabbed (the size is
    // unusable or no memory); the previous frame is then still there.
    bool Grab(int id);
    // "Lut n" items.
    void ActivateLut(int id);

    // Screen size known: where the main window goes, a quarter of the screen
    // in from the top left, 400 x 100 with frame, caption and menu.
    Rect InitInstance(int screenWidth, int screenHeight);
    // The window exists; it shows black until the first frame. Each frame
    // grabbed then sizes the client area to the frame and is drawn at once.
    void OnCreate(WindowHost& host);
    // The client area and the whole window after a move or a size change.
    void OnSize(const Rect& client, const Rect& window) override;
    // A menu command: grabs and lookup tables. False for those the front end
    // carries out (the size dialog, the about box).
    bool Command(int id);
    // F1..F8 through the accelerator table; returns the command left to the
    // front end, or 0.
    int OnKeyDown(std::uint16_t key, std::uint8_t modifiers) override;
    // Key releases, the mouse, the focus and modal dialogs change nothing here.
    void OnKeyUp(std::uint16_t) override {}
    void OnLButtonDown(Point) override {}
    void OnMouseMove(Point, bool) override {}
    void OnButtonUp() override {}
    int OnRButtonDown() override { return 0; }
    void OnSetFocus(std::uint8_t) override {}
    void OnKillFocus() override {}
    void OnModal(bool) override {}
    // The last frame 1:1 from the client area's top-left corner, as much of
    // it as fits; black around it and before the first.
    Drawing Picture() const;

    SampleState& State() { return state_; }

    // Test seam: blocks above this size count as not obtainable.
    std::size_t maxBlockBytes = SIZE_MAX;

  private:
    bool Prepare(const GrabCommand& c, std::uint32_t w, std::uint32_t h);
    void ShowFrame();

    CardService& card_;
    SampleCamera& camera_;
    Operator& op_;
    SampleState state_;

    WindowHost* host_ = nullptr;
    Point place_;  // of the window: a quarter of the screen in
    Rect client_;
    Rect window_;
    ShownDrawing shown_;
};

// Shown when W or H cannot be grabbed, and when the frame block cannot be had.
inline constexpr const char* kBadSizeMessage =
    "Ungültige Bildgröße: die Bildbreite muss ein Vielfaches von 4 zwischen 4 und 65532 "
    "sein, die Bildhöhe zwischen 1 und 256.";
inline constexpr const char* kNoMemoryMessage =
    "Nicht genug Speicher für das Bild; das letzte Bild bleibt stehen.";

}  // namespace qm71::sample
