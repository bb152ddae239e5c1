/* The items of every options dialog: one table per tool for its own part,
   one for the brush section that all dialogs share, and the popup lists. The
   dialogs are built and read back by one routine (options_dialogs.cpp) that
   walks these tables. */
#ifndef SMEARCRAFT_DIALOG_CATALOGUE_H
#define SMEARCRAFT_DIALOG_CATALOGUE_H

#include <stddef.h>

#include "globals.h"

typedef enum DialogItemKind {
    kLabelItem,
    kFloatFieldItem,
    kIntFieldItem,
    kCheckBoxItem,
    kPopupItem
} DialogItemKind;

/* Where a number field's maximum comes from. */
typedef enum DialogLimitSource {
    kFixedLimit,       /* the table's maximum */
    kStyleCountLimit,  /* named graphic styles - 1, or the table's maximum when they cannot be counted */
    kSwatchCountLimit  /* the number of swatches */
} DialogLimitSource;

typedef struct PopupList {
    const char *const *entries;
    ASInt32 count;
} PopupList;

typedef struct DialogItemSpec {
    ASInt32 id;
    DialogItemKind kind;
    ADMRect rect;
    const char *text;      /* labels and check boxes */
    size_t field;          /* offset in Globals of the value it shows */
    AIReal minimum;
    AIReal maximum;
    DialogLimitSource limitSource;
    const PopupList *list; /* popups */
} DialogItemSpec;

typedef struct ToolDialogSpec {
    const DialogItemSpec *items; /* the tool's own part, in creation order */
    ASInt32 itemCount;
    ASInt32 focusId;
} ToolDialogSpec;

#define kDialogWidth 260
#define kDialogHeight 500
#define kFirstToolDialogId 16101
#define kOkItemId 1
#define kCancelItemId 2

extern const ToolDialogSpec ToolDialogs[kToolCount];
extern const DialogItemSpec BrushSection[];
extern const ASInt32 BrushSectionCount;

extern const PopupList BrushShapeList;
extern const PopupList ScaleLimitList;   /* S1 */
extern const PopupList TransparencyModeList, StrokeWeightModeList, FillModeList, TintModeList; /* V1..V4 */
extern const PopupList GradientAngleModeList, GradientLengthModeList;                         /* G1, G2 */
extern const PopupList HiliteAngleModeList, HiliteLengthModeList;                             /* G3, G4 */
extern const PopupList PatternAngleModeList, PatternScaleHModeList, PatternScaleVModeList;    /* P1..P3 */
extern const PopupList ChannelLinkList;                                                       /* K */
extern const PopupList StyleModeList, StyleFactorModeList;                                    /* T1, T2 */
extern const PopupList BlendModeList;                                                         /* B */
extern const PopupList CornerApplyList;                                                       /* C */
extern const PopupList MeshPatternList, WarpPatternList;                                      /* M1, M2 */

#endif
