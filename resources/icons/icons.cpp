#include "resources/icons/icons.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace qm71 {

void InitIcons() {
    static const bool done = (InitIconResources(), true);
    (void)done;
}

}  // namespace qm71
