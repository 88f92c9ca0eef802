#pragma once

namespace qm71::qmdemo {

// What QMDEMO's information box shows above the model family and the maker,
// and the caption of its button.
inline constexpr char kIcon[] = ":/icons/qmdemo.png";
inline constexpr char kProduct[] = "QM71 Zeilenkamera-Demo";
inline constexpr char kInfoOk[] = "Ok";

}  // namespace qm71::qmdemo
