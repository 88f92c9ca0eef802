#pragma once

#include <array>
#include <optional>

namespace qm71::sample {

// Dialog 5001 without its widgets: product, model, maker and the program's
// kind beside the program icon. Only its "Ok" button (id 1) ends it, with 1;
// cancelling (Escape, the window's close button) leaves it open.
struct AboutBoxModel {
    static constexpr int kOkId = 1;
    static constexpr int kCancelId = 2;
    static constexpr char kCaption[] = "QM71 Library Sample Application 32-Bit ";
    static constexpr char kIcon[] = ":/icons/qm71sample.png";
    static constexpr std::array<const char*, 5> kLines{
        "QM71 Kamera-Interface", "QM-71",
        "Muster Kamerasysteme GmbH\nMusterstraße 1\n12345 Musterstadt", "32-Bit-Sample-Application",
        "Windows 9x 32- Bit- Version"};
    static constexpr char kOkText[] = "Ok";

    // The result the box ends with when control `id` is used; nothing while
    // it stays open.
    static std::optional<int> Press(int id) {
        return id == kOkId ? std::optional<int>(kOkId) : std::nullopt;
    }
};

}  // namespace qm71::sample
