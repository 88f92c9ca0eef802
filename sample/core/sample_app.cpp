#include "sample/core/sample_app.h"

#include <algorithm>
#include <array>

#include "resources/sample/commands.h"
#include "sample/core/lookup_tables.h"

namespace qm71::sample {

namespace {

// F1 and F3, F2 and F4 fill the same layout and share its id, so switching
// between them neither reallocates nor resends the size.
constexpr std::array<GrabCommand, 8> kGrabCommands{{
    {1000, false, 8, 1, QM71DIB512X256X8, "F1\tQM71DIB512X256X8"},
    {1001, true, 8, 1, QM71DIBWXHX8, "F2\tQM71DIBWXHX8"},
    {1000, false, 8, 1, QM71IMG512X256X8, "F3\tQM71IMG512X256X8"},
    {1001, true, 8, 1, QM71IMGWXHX8, "F4\tQM71IMGWXHX8"},
    {1004, false, 16, 1, QM71IMG512X256X16, "F5\tQM71IMG512X256X16"},
    {1005, true, 16, 1, QM71IMGWXHX16, "F6\tQM71IMGWXHX16"},
    {1006, false, 8, 2, QN71IMG512X256X8, "F7\tQN71IMG512X256X8"},
    {1007, true, 8, 2, QN71IMGWXHX8, "F8\tQN71IMGWXHX8"},
}};

// The card takes whole 32-bit reads of 8-bit pixels and at most 256 lines.
bool UsableSize(std::uint32_t w, std::uint32_t h) {
    return w >= 4 && w <= 65532 && w % 4 == 0 && h >= 1 && h <= 256;
}

}  // namespace

const GrabCommand* FindGrabCommand(int id) {
    if (id < ID_GRAB_FIRST || id > ID_GRAB_LAST) return nullptr;
    return &kGrabCommands[static_cast<std::size_t>(id - ID_GRAB_FIRST)];
}

void SampleApp::Start(const SampleCamera::TitleSink& title) {
    card_.Call(ServiceFunction::ResetCard, 0, 0);
    LoadLookupTables(card_);
    state_.averagingIndex = 2;
    state_.descriptor.averagingExponent = state_.averagingIndex;
    camera_.KameraInit(static_cast<int>(state_.frameWidth), static_cast<int>(state_.frameHeight),
                       title);
}

void SampleApp::ActivateLut(int id) {
    if (id >= ID_LUT_FIRST && id <= ID_LUT_LAST) ActivateLookupTable(card_, id - ID_LUT_FIRST);
}

bool SampleApp::Prepare(const GrabCommand& c, std::uint32_t w, std::uint32_t h) {
    if (ImageBuffer::BlockBytes(w, h, c.bits, c.slots) > maxBlockBytes) return false;
    auto image = ImageBuffer::Allocate(w, h, c.bits, c.slots);
    if (!image) return false;
    state_.image = std::move(image);
    FrameDescriptor& d = state_.descriptor;
    d.pixels = state_.image->Pixels();
    d.width = w;
    d.height = h;
    d.reserved = 0;
    d.rowBytes = w * static_cast<std::uint32_t>(c.slots);
    return true;
}

bool SampleApp::Grab(int id) {
    const GrabCommand* c = FindGrabCommand(id);
    if (c == nullptr) return false;
    const std::uint32_t w = c->sizeFromDialog ? state_.frameWidth : 512;
    const std::uint32_t h = c->sizeFromDialog ? state_.frameHeight : 256;
    if (!UsableSize(w, h)) {
        op_.Message(kBadSizeMessage, kErrorCaption, kErrorBox);
        return false;
    }
    if (state_.grabMode != c->layout) {
        // The old block stays until the new one is there, so a failure
        // leaves the last frame on screen.
        if (!Prepare(*c, w, h)) {
            op_.Message(kNoMemoryMessage, kErrorCaption, kErrorBox);
            return false;
        }
        // The old block is gone: paints show the new one from now on.
        shown_.Update(host_, Picture());
        camera_.SetCameraFrameSize(static_cast<int>(w), static_cast<int>(h));
    }
    state_.grabMode = c->layout;
    state_.descriptor.averagingExponent = state_.averagingIndex;
    // The library's status tells nothing more: unusable sizes were refused above.
    c->entry(&state_.descriptor);
    ShowFrame();
    return true;
}

bool SampleApp::Command(int id) {
    if (id >= ID_GRAB_FIRST && id <= ID_GRAB_LAST) {
        Grab(id);
    } else if (id >= ID_LUT_FIRST && id <= ID_LUT_LAST) {
        ActivateLut(id);
    } else {
        return false;
    }
    return true;
}

int SampleApp::OnKeyDown(std::uint16_t key, std::uint8_t modifiers) {
    const int id = FindAccelerator(kSampleAccelerators, key, modifiers);
    return id == 0 || Command(id) ? 0 : id;
}

Rect SampleApp::InitInstance(int screenWidth, int screenHeight) {
    place_ = {screenWidth / 4, screenHeight / 4};
    return {place_.x, place_.y, place_.x + 400, place_.y + 100};
}

void SampleApp::OnCreate(WindowHost& host) {
    host_ = &host;
    shown_.Update(host_, Picture(), true);
}

void SampleApp::OnSize(const Rect& client, const Rect& window) {
    client_ = client;
    window_ = window;
    shown_.Update(host_, Picture());
}

Drawing SampleApp::Picture() const {
    if (!state_.image) return {};
    const ImageBuffer& image = *state_.image;
    const Rect shown{0, 0, std::min(int(image.Width()), client_.Width()),
                     std::min(int(image.Height()), client_.Height())};
    return {.picture = {image.Header(), image.Size()}, .source = shown, .destination = shown};
}

void SampleApp::ShowFrame() {
    if (!host_) return;
    // Frame, caption and menu around a client area the size of the frame.
    const int w = int(state_.image->Width()) + window_.Width() - client_.Width();
    const int h = int(state_.image->Height()) + window_.Height() - client_.Height();
    host_->MoveWindow({place_.x, place_.y, place_.x + w, place_.y + h});
    shown_.DrawNow(host_, Picture());
}

}  // namespace qm71::sample
