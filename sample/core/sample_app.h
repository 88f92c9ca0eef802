#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/card_service.h"
#include "platform/operator.h"
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

class SampleApp {
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

    // The client area that fits the last frame; 0 x 0 before the first.
    std::uint32_t ClientWidth() const { return state_.image ? state_.image->Width() : 0; }
    std::uint32_t ClientHeight() const { return state_.image ? state_.image->Height() : 0; }

    SampleState& State() { return state_; }

    // Test seam: blocks above this size count as not obtainable.
    std::size_t maxBlockBytes = SIZE_MAX;

  private:
    bool Prepare(const GrabCommand& c, std::uint32_t w, std::uint32_t h);

    CardService& card_;
    SampleCamera& camera_;
    Operator& op_;
    SampleState state_;
};

// Shown when W or H cannot be grabbed, and when the frame block cannot be had.
inline constexpr const char* kBadSizeMessage =
    "Ungültige Bildgröße: die Bildbreite muss ein Vielfaches von 4 zwischen 4 und 65532 "
    "sein, die Bildhöhe zwischen 1 und 256.";
inline constexpr const char* kNoMemoryMessage =
    "Nicht genug Speicher für das Bild; das letzte Bild bleibt stehen.";

}  // namespace qm71::sample
