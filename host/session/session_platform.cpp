#include "session_platform.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace smear {

#ifdef _WIN32

// On Windows the plug-in calls user32 itself, so the host asks the window
// system which cursor is current and finds the cursor group that loads as
// that same (shared) cursor handle.
int observedCursor(Host &host) {
    HCURSOR current = GetCursor();
    if (current == nullptr) return 0;
    HMODULE module = static_cast<HMODULE>(const_cast<void *>(host.moduleInstance()));
    if (module == nullptr) return 0;
    for (unsigned id = 1; id <= 0xFFFF; ++id) {
        if (host.resources().find(kRtGroupCursor, uint16_t(id)) == nullptr) continue;
        if (LoadCursorA(module, MAKEINTRESOURCEA(id)) == current) return int(id);
    }
    return 0;
}

void forgetCursor(Host &) { SetCursor(nullptr); }

#else

int observedCursor(Host &host) { return host.cursorSet ? host.lastCursorId : 0; }

void forgetCursor(Host &host) {
    host.cursorSet = false;
    host.lastCursorId = 0;
}

#endif

}  // namespace smear
