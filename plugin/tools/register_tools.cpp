/* Adds the nineteen tools to the host's palette as one group. */
#include "globals.h"
#include "shell.h"
#include "suites.h"
#include "tool_table.h"

#define kIconBaseId 16050

SPErr RegisterTools(SPPluginRef plugin) {
    /* Defaults first: if registration stops at a failing tool, the tools
       already registered still find sane options. */
    SetOptionDefaults();

    AIAddToolData data;
    data.title = NULL;
    data.tooltip = NULL;
    data.helpID = 0;
    data.icon = NULL;
    data.sameGroupAs = kNoTool;
    data.sameToolsetAs = kNoTool;

    for (int k = 0; k < kToolCount; ++k) {
        data.title = ToolTable[k].title;
        data.tooltip = ToolTable[k].tooltip;
        data.icon = sADMIcon->GetFromResource(plugin, kIconBaseId, k + 1);
        if (sADMIcon->GetType(data.icon) == kADMUnknownIconType) return kBadIconErr;
        SPErr error = sAITool->AddTool(plugin, ToolTable[k].title, &data, kToolWantsToTrackCursorOption,
                                       &gGlobals->toolHandles[k]);
        if (error != kNoErr) return error;
        if (k == 0) {
            /* The first tool opens the group and toolset the others join. */
            sAITool->GetToolNumberFromName(ToolTable[0].title, &data.sameGroupAs);
            sAITool->GetToolNumberFromName(ToolTable[0].title, &data.sameToolsetAs);
        }
    }
    return kNoErr;
}
