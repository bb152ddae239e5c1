/* The entry point and the dispatch of host messages. */
#include "globals.h"
#include "options_dialogs.h"
#include "shell.h"
#include "stroke.h"
#include "suites.h"

Globals *gGlobals;

SPErr DispatchToolMessage(const char *selector, AIToolMessage *message) {
    SPBasicSuite *basic = message->d.basic;
    /* Tool messages need the Globals block; without one (start-up failed or
       never ran) there is nothing to work on. */
    if (gGlobals == NULL) return kNoErr;
    if (basic->IsEqual(selector, kAIToolEditOptionsSelector)) return EditToolOptions(message);
    if (basic->IsEqual(selector, kAIToolTrackCursorSelector)) return SetToolCursor(message->d.self);
    if (basic->IsEqual(selector, kAIToolMouseDownSelector)) return ToolMouseDown(message);
    if (basic->IsEqual(selector, kAIToolMouseDragSelector)) return ToolMouseDrag(message);
    if (basic->IsEqual(selector, kAIToolMouseUpSelector)) return ToolMouseUp(message);
    return kNoErr; /* "AI Select", "AI Deselect" and all others */
}

static SPErr DispatchInterfaceMessage(const char *selector, SPMessageData *message) {
    SPBasicSuite *basic = message->basic;
    if (basic->IsEqual(selector, kSPInterfaceStartupSelector)) return StartupPlugin(message);
    if (basic->IsEqual(selector, kSPInterfaceAboutSelector)) return ShowAbout(message);
    if (basic->IsEqual(selector, kSPInterfaceShutdownSelector)) return ShutdownPlugin(message);
    return kNoErr;
}

extern "C" SMEARCRAFT_EXPORT SPErr PluginMain(const char *caller, const char *selector, void *message) {
    SPMessageData *data = (SPMessageData *)message;
    SPBasicSuite *basic = data->basic;

    /* Unload and reload run without suites: the module may be on its way
       out of memory, or just back. */
    if (basic->IsEqual(caller, kSPAccessCaller)) {
        if (basic->IsEqual(selector, kSPAccessUnloadSelector)) return UnloadPlugin(data);
        if (basic->IsEqual(selector, kSPAccessReloadSelector)) return ReloadPlugin(data);
        return kNoErr;
    }

    SPErr result = AcquireSuites(basic);
    if (result == kNoErr) {
        if (basic->IsEqual(caller, kSPInterfaceCaller))
            result = DispatchInterfaceMessage(selector, data);
        else if (basic->IsEqual(caller, kAIToolCaller))
            result = DispatchToolMessage(selector, (AIToolMessage *)message);
    }
    if (result != kNoErr && result != kSilentErr) ReportError(data, result);
    ReleaseSuites(basic);
    return result;
}
