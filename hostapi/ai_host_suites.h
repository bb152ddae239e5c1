/* The host's general suites: plug-in, memory, maths, strings, undo, random,
   preferences, document and tools. */
#ifndef HOSTAPI_AI_HOST_SUITES_H
#define HOSTAPI_AI_HOST_SUITES_H

#include "records.h"

#define kAIPluginSuite "AI Plugin Suite"
#define kAIPluginSuiteVersion 3

typedef struct AIPluginSuite {
    SPErr (*GetPluginOptions)(SPPluginRef plugin, ASInt32 *options);
    SPErr (*SetPluginOptions)(SPPluginRef plugin, ASInt32 options);
    SPErr (*GetPluginName)(SPPluginRef plugin, const char **name);
} AIPluginSuite;

#define kAIMdMemorySuite "AI MdMemory Suite"
#define kAIMdMemorySuiteVersion 1

typedef struct AIMdMemorySuite {
    SPErr (*MdMemoryNewHandle)(size_t size, AIMdMemoryHandle *handle);
    SPErr (*MdMemoryDisposeHandle)(AIMdMemoryHandle handle);
    SPErr (*MdMemoryGetSize)(AIMdMemoryHandle handle, size_t *size);
    SPErr (*MdMemoryResize)(AIMdMemoryHandle handle, size_t newSize);
} AIMdMemorySuite;

#define kAIRealMathSuite "AI Real Math Suite"
#define kAIRealMathSuiteVersion 1

typedef struct AIRealMathSuite {
    AIReal (*DegreeToRadian)(AIReal degrees);
    AIReal (*RadianToDegree)(AIReal radians);
    AIReal (*AIRealSin)(AIReal radians);
    AIReal (*AIRealCos)(AIReal radians);
    /* Angle in radians of the line from a to b. */
    AIReal (*AIRealPointAngle)(const AIRealPoint *a, const AIRealPoint *b);
    /* Distance between two points. */
    AIReal (*AIRealPointLength)(const AIRealPoint *a, const AIRealPoint *b);
    /* Length of the vector (h, v). */
    AIReal (*AIRealLength)(AIReal h, AIReal v);
    ASBoolean (*AIRealRectOverlap)(const AIRealRect *a, const AIRealRect *b);
    void (*AIRealMatrixSetIdentity)(AIRealMatrix *m);
    void (*AIRealMatrixSetTranslate)(AIRealMatrix *m, AIReal tx, AIReal ty);
    /* The Concat operations apply their change after the matrix's own. */
    void (*AIRealMatrixConcatTranslate)(AIRealMatrix *m, AIReal tx, AIReal ty);
    void (*AIRealMatrixConcatScale)(AIRealMatrix *m, AIReal h, AIReal v);
    void (*AIRealMatrixConcatRotate)(AIRealMatrix *m, AIReal radians);
    void (*AIRealMatrixConcat)(const AIRealMatrix *a, const AIRealMatrix *b, AIRealMatrix *result);
    void (*AIRealMatrixXformPoint)(const AIRealMatrix *m, const AIRealPoint *in, AIRealPoint *out);
} AIRealMathSuite;

#define kAIUserSuite "AI User Suite"
#define kAIUserSuiteVersion 5

typedef struct AIUserSuite {
    /* Length-prefixed text (first byte the length) to a real. */
    SPErr (*StringToReal)(const unsigned char *text, AIReal *value);
    /* A real to length-prefixed text with `precision` decimals. */
    SPErr (*RealToString)(AIReal value, ASInt16 precision, unsigned char *text);
} AIUserSuite;

#define kAIUndoSuite "AI Undo Suite"
#define kAIUndoSuiteVersion 4

typedef struct AIUndoSuite {
    SPErr (*SetUndoText)(const char *undoText, const char *redoText);
    /* Closes the changes made since the tool's mouse down as one undoable step. */
    SPErr (*CloseUndoStep)(void);
    SPErr (*UndoChanges)(void);
} AIUndoSuite;

#define kAIRandomSuite "AI Random Suite"
#define kAIRandomSuiteVersion 3

typedef struct AIRandomSuite {
    /* A uniformly distributed real in [0, 1). */
    AIReal (*FloatRnd)(void);
    void (*SetRndSeed)(ASInt32 seed);
    ASInt32 (*GetRndSeed)(void);
} AIRandomSuite;

#define kAIPreferenceSuite "AI Preference Suite"
#define kAIPreferenceSuiteVersion 2

typedef struct AIPreferenceSuite {
    SPErr (*GetIntegerPreference)(const char *prefix, const char *suffix, ASInt32 *value);
    SPErr (*PutIntegerPreference)(const char *prefix, const char *suffix, ASInt32 value);
} AIPreferenceSuite;

#define kAIDocumentSuite "AI Document Suite"
#define kAIDocumentSuiteVersion 7

typedef struct AIDocumentSuite {
    SPErr (*GetDocument)(AIDocumentHandle *document);
    SPErr (*GetDocumentFileName)(char *name, ASInt32 maxLength);
} AIDocumentSuite;

#define kAIToolSuite "AI Tool Suite"
#define kAIToolSuiteVersion 9

/* A tool that joins no group or toolset. */
#define kNoTool ((ASInt16)-2)

/* Tool options. */
enum {
    kToolWantsToTrackCursorOption = 1
};

/* What a plug-in tells the host of a new tool. */
typedef struct AIAddToolData {
    const char *title;
    const char *tooltip;
    ASInt32 helpID;
    ADMIconRef icon;
    ASInt16 sameGroupAs;
    ASInt16 sameToolsetAs;
} AIAddToolData;

typedef struct AIToolSuite {
    SPErr (*AddTool)(SPPluginRef plugin, const char *name, const AIAddToolData *data,
                     ASInt32 options, AIToolHandle *tool);
    SPErr (*GetToolName)(AIToolHandle tool, const char **name);
    SPErr (*GetToolOptions)(AIToolHandle tool, ASInt32 *options);
    SPErr (*SetToolOptions)(AIToolHandle tool, ASInt32 options);
    SPErr (*GetToolPlugin)(AIToolHandle tool, SPPluginRef *plugin);
    SPErr (*GetSelectedTool)(AIToolHandle *tool);
    SPErr (*SetSelectedTool)(AIToolHandle tool);
    SPErr (*CountTools)(ASInt32 *count);
    SPErr (*GetNthTool)(ASInt32 n, AIToolHandle *tool);
    SPErr (*GetToolHandleFromNumber)(ASInt16 number, AIToolHandle *tool);
    SPErr (*GetToolNumberFromName)(const char *name, ASInt16 *number);
    SPErr (*GetToolNumberFromHandle)(AIToolHandle tool, ASInt16 *number);
    SPErr (*SystemHasPressure)(ASBoolean *hasPressure);
} AIToolSuite;

#endif
