#pragma once

namespace qm71::qm {

// What QM's information box shows above the model family and the maker, and
// the caption of its button.
inline constexpr char kIcon[] = ":/icons/qm.png";
inline constexpr char kProduct[] = "QM71 Kamera-Interface";
inline constexpr char kInfoOk[] = "OK";

}  // namespace qm71::qm
