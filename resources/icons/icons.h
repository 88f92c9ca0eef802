#pragma once

namespace qm71 {

// Registers the program icons (":/icons/qm.png", ":/icons/qmdemo.png",
// ":/icons/qm71sample.png"). Call once before the first icon is used; a
// static library's resources are not registered by themselves.
void InitIcons();

}  // namespace qm71
