#pragma once

#include <string_view>

namespace qm71 {

// The version of the QM71 programs, e.g. "1.0". Every program reports the same
// one: it is the project's version, set once in the build.
std::string_view Version();

}  // namespace qm71
