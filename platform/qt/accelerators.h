#pragma once

#include <span>

#include "platform/accelerator.h"

class QKeyEvent;

namespace qm71 {

// The command an accelerator table gives a key press, or 0 when none.
int TranslateAccelerator(const QKeyEvent& event, std::span<const Accelerator> table);

}  // namespace qm71
