/* The tool cursor, shown for every tool on "AI Track Cursor". */
#include "platform.h"
#include "shell.h"
#include "suites.h"

SPErr SetToolCursor(SPPluginRef plugin) {
    SPAccessRef access = NULL;
    if (sSPAccess->GetPluginAccess(plugin, &access) != kNoErr) return kNoErr;
    SPPlatformAccessInfo info;
    if (sSPAccess->GetAccessInfo(access, &info) != kNoErr) return kNoErr;
    HCURSOR cursor = LoadCursorA((HINSTANCE)info.moduleInstance, MAKEINTRESOURCEA(kToolCursorId));
    if (cursor != NULL) SetCursor(cursor);
    return kNoErr;
}
