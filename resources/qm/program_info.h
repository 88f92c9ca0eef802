#pragma once

namespace qm71::qm {

// What QM's information box shows above the model family and the maker.
inline constexpr char kIcon[] = ":/icons/qm.png";
inline constexpr char kProduct[] = "QM71 Kamera-Interface";

}  // namespace qm71::qm
