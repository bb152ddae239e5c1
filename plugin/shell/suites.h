/* The host's suites, acquired on entry to every outermost host call and
   released on its exit; valid only inside a call of PluginMain. */
#ifndef SMEARCRAFT_SUITES_H
#define SMEARCRAFT_SUITES_H

#include "hostapi.h"

#define kSuiteCount 31

/* One row of SuiteTable: a suite name, its version and its pointer slot. */
typedef struct SuiteRow {
    const char *name;
    ASInt32 version;
    const void **slot;
} SuiteRow;

extern const SuiteRow SuiteTable[kSuiteCount];

extern const SPBlocksSuite *sSPBlocks;
extern const SPAccessSuite *sSPAccess;
extern const AIPluginSuite *sAIPlugin;
extern const AIMdMemorySuite *sAIMdMemory;
extern const AIRealMathSuite *sAIRealMath;
extern const AIArtSuite *sAIArt;
extern const AIUserSuite *sAIUser;
extern const AIPathSuite *sAIPath;
extern const AIPathStyleSuite *sAIPathStyle;
extern const AIUndoSuite *sAIUndo;
extern const AIMatchingArtSuite *sAIMatchingArt;
extern const AITransformArtSuite *sAITransformArt;
extern const AITagSuite *sAITag;
extern const AIRandomSuite *sAIRandom;
extern const AIBlendStyleSuite *sAIBlendStyle;
extern const AIArtStyleSuite *sAIArtStyle;
extern const AISwatchListSuite *sAISwatchList;
extern const AIShapeConstructionSuite *sAIShapeConstruction;
extern const AIPreferenceSuite *sAIPreference;
extern const AILayerSuite *sAILayer;
extern const AIMeshSuite *sAIMesh;
extern const AIMeshVertexSuite *sAIMeshVertex;
extern const AIDocumentSuite *sAIDocument;
extern const AIToolSuite *sAITool;
extern const ADMBasicSuite *sADMBasic;
extern const ADMDialogSuite *sADMDialog;
extern const ADMItemSuite *sADMItem;
extern const ADMIconSuite *sADMIcon;
extern const ADMTrackerSuite *sADMTracker;
extern const ADMListSuite *sADMList;
extern const ADMEntrySuite *sADMEntry;

/* Number of PluginMain calls in progress. */
extern ASInt16 AcquireDepth;

SPErr AcquireSuites(SPBasicSuite *basic);
void ReleaseSuites(SPBasicSuite *basic);

#endif
