/* The records the host passes with every call of the plug-in's entry point. */
#ifndef HOSTAPI_MESSAGES_H
#define HOSTAPI_MESSAGES_H

#include "types.h"

struct SPBasicSuite;

/* Callers and selectors. */
#define kSPAccessCaller "SP Access"
#define kSPAccessUnloadSelector "Unload"
#define kSPAccessReloadSelector "Reload"
#define kSPInterfaceCaller "SP Interface"
#define kSPInterfaceStartupSelector "Startup"
#define kSPInterfaceAboutSelector "About"
#define kSPInterfaceShutdownSelector "Shutdown"
#define kAIToolCaller "AI Tool"
#define kAIToolEditOptionsSelector "AI Edit Options"
#define kAIToolTrackCursorSelector "AI Track Cursor"
#define kAIToolMouseDownSelector "AI Mouse Down"
#define kAIToolMouseDragSelector "AI Mouse Drag"
#define kAIToolMouseUpSelector "AI Mouse Up"
#define kAIToolSelectSelector "AI Select"
#define kAIToolDeselectSelector "AI Deselect"

/* The words every message begins with. */
typedef struct SPMessageData {
    ASInt32 SPCheck;
    SPPluginRef self;
    void *globals;
    struct SPBasicSuite *basic;
} SPMessageData;

/* An "AI Tool" message. */
typedef struct AIToolMessage {
    SPMessageData d;
    AIToolHandle tool;
    AIRealPoint cursor;  /* document coordinates, vertical axis up */
    ASInt16 pressure;    /* 0 .. 255 */
} AIToolMessage;

#define kSPValidSPMessageData 0x53504d44 /* 'SPMD' */

/* The plug-in's only export. */
typedef SPErr (*PluginMainProc)(const char *caller, const char *selector, void *message);

/* Entry name stored in the plug-in property list. */
#define kPluginEntryName "PluginMain"

#endif
