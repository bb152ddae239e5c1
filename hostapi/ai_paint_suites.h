/* The host's suites for paint: path style, blending, graphic styles, swatches. */
#ifndef HOSTAPI_AI_PAINT_SUITES_H
#define HOSTAPI_AI_PAINT_SUITES_H

#include "records.h"

#define kAIPathStyleSuite "AI Path Style Suite"
#define kAIPathStyleSuiteVersion 5

typedef struct AIPathStyleSuite {
    SPErr (*GetPathStyle)(AIArtHandle art, AIPathStyle *style);
    SPErr (*SetPathStyle)(AIArtHandle art, const AIPathStyle *style);
} AIPathStyleSuite;

#define kAIBlendStyleSuite "AI Blend Style Suite"
#define kAIBlendStyleSuiteVersion 2

/* Blending modes. */
enum {
    kAINormalBlendingMode = 0,
    kAILuminosityBlendingMode = 15
};

typedef struct AIBlendStyleSuite {
    ASInt32 (*GetBlendingMode)(AIArtHandle art);
    SPErr (*SetBlendingMode)(AIArtHandle art, ASInt32 mode);
    /* 0 invisible .. 1 opaque. */
    AIReal (*GetOpacity)(AIArtHandle art);
    SPErr (*SetOpacity)(AIArtHandle art, AIReal opacity);
} AIBlendStyleSuite;

#define kAIArtStyleSuite "AI Art Style Suite"
#define kAIArtStyleSuiteVersion 3

typedef struct AIArtStyleSuite {
    SPErr (*CountNamedArtStyles)(ASInt32 *count);
    /* Fails when there is no style `index`. */
    SPErr (*GetNthNamedArtStyle)(ASInt32 index, AIArtStyleHandle *style);
    SPErr (*GetArtStyle)(AIArtHandle art, AIArtStyleHandle *style);
    ASBoolean (*ArtStylesEquiv)(AIArtStyleHandle a, AIArtStyleHandle b);
    SPErr (*SetArtStyle)(AIArtHandle art, AIArtStyleHandle style);
    AIReal (*GetStyleFactor)(AIArtHandle art);
    SPErr (*SetStyleFactor)(AIArtHandle art, AIReal factor);
    SPErr (*GetArtStyleName)(AIArtStyleHandle style, char *name, ASInt32 maxLength);
} AIArtStyleSuite;

#define kAISwatchListSuite "AI Swatch List Suite"
#define kAISwatchListSuiteVersion 4

/* Every function takes the list; null means the current document's list. */
typedef struct AISwatchListSuite {
    ASInt32 (*CountSwatches)(AISwatchListRef list);
    AISwatchRef (*GetNthSwatch)(AISwatchListRef list, ASInt32 index);
    AISwatchRef (*InsertNthSwatch)(AISwatchListRef list, ASInt32 index);
    SPErr (*GetAIColor)(AISwatchRef swatch, AIColor *color);
    SPErr (*SetAIColor)(AISwatchRef swatch, const AIColor *color);
    SPErr (*GetSwatchName)(AISwatchRef swatch, char *name, ASInt32 maxLength);
} AISwatchListSuite;

#endif
