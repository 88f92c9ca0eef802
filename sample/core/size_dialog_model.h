#pragma once

#include <string>

#include "sample/core/sample_app.h"

namespace qm71::sample {

// The image-size dialog without its widgets. The averaging choice and the
// contrast switch act when clicked, even if the dialog is then cancelled;
// W, H and ILUT change only on OK, stored as typed (no range test: the next
// grab refuses a size it cannot use).
class SizeDialogModel {
  public:
    // Opening clears the grab mode, so the next grab prepares a new buffer
    // and sends the frame size again.
    explicit SizeDialogModel(SampleState& state);

    // What the edit fields show: the low 16 bits, in decimal.
    std::string WidthText() const;
    std::string HeightText() const;
    std::string IlutText() const;
    int CheckedAveragingId() const;  // 3000 + k
    bool ContrastChecked() const { return state_.contrast != 0; }

    void ChooseAveraging(int id);  // 3000..3009
    void ToggleContrast();
    // OK (result 1) and "Abbruch" (result 0).
    int Accept(const std::string& width, const std::string& height, const std::string& ilut);
    int Cancel() const { return 0; }

  private:
    SampleState& state_;
};

// An unsigned decimal number as the edit fields hold it; anything else is 0.
std::uint32_t ParseFieldNumber(const std::string& text);

}  // namespace qm71::sample
