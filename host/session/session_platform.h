// What the host can see of the platform calls the plug-in makes outside the
// suites.
#pragma once

#include "host.h"

namespace smear {

// The cursor group resource id of the cursor the plug-in set, 0 when it set
// none since the last call of forgetCursor.
int observedCursor(Host &host);
void forgetCursor(Host &host);

}  // namespace smear
