#include "suites.h"

#include <stdio.h>

const SPBlocksSuite *sSPBlocks;
const SPAccessSuite *sSPAccess;
const AIPluginSuite *sAIPlugin;
const AIMdMemorySuite *sAIMdMemory;
const AIRealMathSuite *sAIRealMath;
const AIArtSuite *sAIArt;
const AIUserSuite *sAIUser;
const AIPathSuite *sAIPath;
const AIPathStyleSuite *sAIPathStyle;
const AIUndoSuite *sAIUndo;
const AIMatchingArtSuite *sAIMatchingArt;
const AITransformArtSuite *sAITransformArt;
const AITagSuite *sAITag;
const AIRandomSuite *sAIRandom;
const AIBlendStyleSuite *sAIBlendStyle;
const AIArtStyleSuite *sAIArtStyle;
const AISwatchListSuite *sAISwatchList;
const AIShapeConstructionSuite *sAIShapeConstruction;
const AIPreferenceSuite *sAIPreference;
const AILayerSuite *sAILayer;
const AIMeshSuite *sAIMesh;
const AIMeshVertexSuite *sAIMeshVertex;
const AIDocumentSuite *sAIDocument;
const AIToolSuite *sAITool;
const ADMBasicSuite *sADMBasic;
const ADMDialogSuite *sADMDialog;
const ADMItemSuite *sADMItem;
const ADMIconSuite *sADMIcon;
const ADMTrackerSuite *sADMTracker;
const ADMListSuite *sADMList;
const ADMEntrySuite *sADMEntry;

ASInt16 AcquireDepth;

#define ROW(name, version, slot) {name, version, (const void **)&slot}

const SuiteRow SuiteTable[kSuiteCount] = {
    ROW(kSPBlocksSuite, kSPBlocksSuiteVersion, sSPBlocks),
    ROW(kSPAccessSuite, kSPAccessSuiteVersion, sSPAccess),
    ROW(kAIPluginSuite, kAIPluginSuiteVersion, sAIPlugin),
    ROW(kAIMdMemorySuite, kAIMdMemorySuiteVersion, sAIMdMemory),
    ROW(kAIRealMathSuite, kAIRealMathSuiteVersion, sAIRealMath),
    ROW(kAIArtSuite, kAIArtSuiteVersion, sAIArt),
    ROW(kAIUserSuite, kAIUserSuiteVersion, sAIUser),
    ROW(kAIPathSuite, kAIPathSuiteVersion, sAIPath),
    ROW(kAIPathStyleSuite, kAIPathStyleSuiteVersion, sAIPathStyle),
    ROW(kAIUndoSuite, kAIUndoSuiteVersion, sAIUndo),
    ROW(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion, sAIMatchingArt),
    ROW(kAITransformArtSuite, kAITransformArtSuiteVersion, sAITransformArt),
    ROW(kAITagSuite, kAITagSuiteVersion, sAITag),
    ROW(kAIRandomSuite, kAIRandomSuiteVersion, sAIRandom),
    ROW(kAIBlendStyleSuite, kAIBlendStyleSuiteVersion, sAIBlendStyle),
    ROW(kAIArtStyleSuite, kAIArtStyleSuiteVersion, sAIArtStyle),
    ROW(kAISwatchListSuite, kAISwatchListSuiteVersion, sAISwatchList),
    ROW(kAIShapeConstructionSuite, kAIShapeConstructionSuiteVersion, sAIShapeConstruction),
    ROW(kAIPreferenceSuite, kAIPreferenceSuiteVersion, sAIPreference),
    ROW(kAILayerSuite, kAILayerSuiteVersion, sAILayer),
    ROW(kAIMeshSuite, kAIMeshSuiteVersion, sAIMesh),
    ROW(kAIMeshVertexSuite, kAIMeshVertexSuiteVersion, sAIMeshVertex),
    ROW(kAIDocumentSuite, kAIDocumentSuiteVersion, sAIDocument),
    ROW(kAIToolSuite, kAIToolSuiteVersion, sAITool),
    ROW(kADMBasicSuite, kADMBasicSuiteVersion, sADMBasic),
    ROW(kADMDialogSuite, kADMDialogSuiteVersion, sADMDialog),
    ROW(kADMItemSuite, kADMItemSuiteVersion, sADMItem),
    ROW(kADMIconSuite, kADMIconSuiteVersion, sADMIcon),
    ROW(kADMTrackerSuite, kADMTrackerSuiteVersion, sADMTracker),
    ROW(kADMListSuite, kADMListSuiteVersion, sADMList),
    ROW(kADMEntrySuite, kADMEntrySuiteVersion, sADMEntry),
};

SPErr AcquireSuites(SPBasicSuite *basic) {
    SPErr error = kNoErr;
    if (AcquireDepth == 0) {
        for (int row = 0; row < kSuiteCount; ++row) {
            const SuiteRow *s = &SuiteTable[row];
            error = basic->AcquireSuite(s->name, s->version, s->slot);
            if (error != kNoErr) {
                if (sADMBasic != NULL) {
                    char text[256];
                    snprintf(text, sizeof text, "Suite Loading Error: %d, suite: %s, version: %d!",
                             (int)error, s->name, (int)s->version);
                    sADMBasic->MessageAlert(text);
                }
                break;
            }
        }
    }
    ++AcquireDepth;
    return error;
}

void ReleaseSuites(SPBasicSuite *basic) {
    if (AcquireDepth == 1) {
        for (int row = 0; row < kSuiteCount; ++row) {
            const SuiteRow *s = &SuiteTable[row];
            if (*s->slot == NULL) continue;
            if (basic->ReleaseSuite(s->name, s->version) != kNoErr) break;
            *s->slot = NULL;
        }
    }
    --AcquireDepth;
}
