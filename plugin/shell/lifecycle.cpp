/* Start-up, shutdown, unload and reload: the life of the Globals block. */
#include <string.h>

#include "globals.h"
#include "shell.h"
#include "suites.h"

/* The bit start-up sets in the plug-in's option word. */
#define kPluginOptionBit 2

SPErr StartupPlugin(SPMessageData *message) {
    SPErr error = sSPBlocks->AllocateBlock(sizeof(Globals), "globals", (void **)&gGlobals);
    if (error != kNoErr) {
        gGlobals = NULL;
        return error;
    }
    /* A fresh block holds garbage; the stroke fields must read as "no
       stroke" so that a drag or mouse up without a mouse down touches
       nothing. */
    gGlobals->ArtList = NULL;
    gGlobals->ArtCount = 0;
    gGlobals->OutlineArt = NULL;
    gGlobals->basicSuite = message->basic;

    ASInt32 options = 0;
    error = sAIPlugin->GetPluginOptions(message->self, &options);
    if (error != kNoErr) return error;
    error = sAIPlugin->SetPluginOptions(message->self, options | kPluginOptionBit);
    if (error != kNoErr) return error;

    return RegisterTools(message->self);
}

SPErr ShutdownPlugin(SPMessageData *message) {
    SPErr error = kNoErr;
    if (gGlobals != NULL) {
        SPBasicSuite *basic = message->basic;
        const SPBlocksSuite *blocks = NULL;
        error = basic->AcquireSuite(kSPBlocksSuite, kSPBlocksSuiteVersion, (const void **)&blocks);
        if (error == kNoErr) {
            /* A block the host could not free is reported, not passed off
               as a clean shutdown. */
            error = blocks->FreeBlock(gGlobals);
            gGlobals = NULL;
            basic->ReleaseSuite(kSPBlocksSuite, kSPBlocksSuiteVersion);
        }
    }
    message->globals = NULL;
    return error;
}

SPErr UnloadPlugin(SPMessageData *message) {
    message->globals = gGlobals;
    return kNoErr;
}

SPErr ReloadPlugin(SPMessageData *message) {
    AcquireDepth = 0;
    gGlobals = (Globals *)message->globals;
    return kNoErr;
}
