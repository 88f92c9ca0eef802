#pragma once

#include <windows.h>

#include <string>

namespace qm71 {

// The system's own text for an error code ("Access is denied"), without the
// line break and full stop that end it; "Error N" when it has none.
std::string SystemMessage(DWORD error);

}  // namespace qm71
