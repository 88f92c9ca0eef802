#include "platform/version.h"

namespace qm71 {

// The build defines QM71_VERSION for this file alone, so that a new version
// recompiles one file.
std::string_view Version() {
    return QM71_VERSION;
}

}  // namespace qm71
