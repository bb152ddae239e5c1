/* The options dialog of every tool: built from the tables of
   dialog_catalogue.cpp when it opens, read back into Globals by its OK
   handler. Results of the item calls are not checked: an item the host could
   not make simply shows and stores nothing. */
#include "options_dialogs.h"

#include <stdio.h>

#include "dialog_catalogue.h"
#include "globals.h"
#include "suites.h"

static AIReal *FloatField(size_t offset) { return (AIReal *)((char *)gGlobals + offset); }
static ASInt32 *IntField(size_t offset) { return (ASInt32 *)((char *)gGlobals + offset); }

/* A maximum that depends on the document, asked of the host once per
   dialog, right before the first item that needs it is created. */
typedef struct CountLimits {
    int styleCountAsked;
    ASInt32 styleMaximum;
    int swatchCountAsked;
    ASInt32 swatchMaximum;
} CountLimits;

static ASInt32 IntMaximum(const DialogItemSpec *spec, CountLimits *limits) {
    switch (spec->limitSource) {
    case kStyleCountLimit:
        if (!limits->styleCountAsked) {
            ASInt32 count = 0;
            limits->styleCountAsked = 1;
            if (sAIArtStyle->CountNamedArtStyles(&count) == kNoErr)
                limits->styleMaximum = count - 1;
            else
                limits->styleMaximum = (ASInt32)spec->maximum;
        }
        return limits->styleMaximum;
    case kSwatchCountLimit:
        if (!limits->swatchCountAsked) {
            limits->swatchCountAsked = 1;
            limits->swatchMaximum = sAISwatchList->CountSwatches(NULL);
        }
        return limits->swatchMaximum;
    case kFixedLimit:
    default:
        return (ASInt32)spec->maximum;
    }
}

static void CreatePopupEntries(ADMItemRef item, const DialogItemSpec *spec) {
    ADMListRef list = sADMItem->GetList(item);
    for (ASInt32 i = 0; i < spec->list->count; ++i) {
        ADMEntryRef entry = sADMList->InsertEntry(list, i);
        sADMEntry->SetText(entry, spec->list->entries[i]);
        sADMEntry->SetID(entry, i);
    }
    sADMEntry->Select(sADMList->GetEntry(list, *IntField(spec->field)), true);
}

/* Creates one item and shows its field, in the call order each kind needs. */
static void CreateDialogItem(ADMDialogRef dialog, const DialogItemSpec *spec, CountLimits *limits) {
    ADMItemRef item;
    switch (spec->kind) {
    case kLabelItem:
        item = sADMDialog->CreateItem(dialog, spec->id, kADMTextStaticType, &spec->rect, NULL, NULL);
        sADMItem->SetText(item, spec->text);
        break;
    case kFloatFieldItem:
        item = sADMDialog->CreateItem(dialog, spec->id, kADMSpinEditType, &spec->rect, NULL, NULL);
        sADMItem->SetUnits(item, kADMNoUnits);
        sADMItem->SetMinFloatValue(item, spec->minimum);
        sADMItem->SetMaxFloatValue(item, spec->maximum);
        sADMItem->SetFloatValue(item, *FloatField(spec->field));
        sADMItem->SetPrecision(item, 2);
        break;
    case kIntFieldItem: {
        /* The count behind a maximum is asked before the item exists. */
        ASInt32 maximum = IntMaximum(spec, limits);
        item = sADMDialog->CreateItem(dialog, spec->id, kADMSpinEditType, &spec->rect, NULL, NULL);
        sADMItem->SetUnits(item, kADMNoUnits);
        sADMItem->SetMinIntValue(item, (ASInt32)spec->minimum);
        sADMItem->SetMaxIntValue(item, maximum);
        sADMItem->SetIntValue(item, *IntField(spec->field));
        break;
    }
    case kCheckBoxItem:
        item = sADMDialog->CreateItem(dialog, spec->id, kADMTextCheckBoxType, &spec->rect, NULL, NULL);
        sADMItem->SetBooleanValue(item, *IntField(spec->field) != 0);
        sADMItem->SetText(item, spec->text);
        break;
    case kPopupItem:
        item = sADMDialog->CreateItem(dialog, spec->id, kADMPopupListType, &spec->rect, NULL, NULL);
        CreatePopupEntries(item, spec);
        break;
    }
}

/* Stores one value item's value into its field; labels store nothing. */
static void StoreDialogItem(ADMDialogRef dialog, const DialogItemSpec *spec) {
    ADMItemRef item;
    if (spec->kind == kLabelItem) return;
    item = sADMDialog->GetItem(dialog, spec->id);
    switch (spec->kind) {
    case kFloatFieldItem:
        *FloatField(spec->field) = sADMItem->GetFloatValue(item);
        break;
    case kIntFieldItem:
        *IntField(spec->field) = sADMItem->GetIntValue(item);
        break;
    case kCheckBoxItem:
        *IntField(spec->field) = sADMItem->GetBooleanValue(item) ? 1 : 0;
        break;
    case kPopupItem:
        *IntField(spec->field) = sADMEntry->GetID(sADMList->GetActiveEntry(sADMItem->GetList(item)));
        break;
    case kLabelItem:
    default:
        break;
    }
}

static ADMItemRef CreateButton(ADMDialogRef dialog, ASInt32 id, ASInt32 left, const char *text) {
    ADMRect rect;
    ADMItemRef item;
    rect.left = left;
    rect.top = 470;
    rect.right = left + 80;
    rect.bottom = 490;
    item = sADMDialog->CreateItem(dialog, id, kADMTextPushButtonType, &rect, NULL, NULL);
    sADMItem->SetText(item, text);
    return item;
}

static SPErr InitToolDialog(ADMDialogRef dialog, ASInt32 toolId, ADMItemNotifyProc okHandler) {
    const ToolDialogSpec *tool = &ToolDialogs[toolId];
    CountLimits limits = {0, 0, 0, 0};
    ADMItemRef ok;
    ADMItemRef focus;
    ASInt32 i;

    sADMDialog->SetSize(dialog, kDialogWidth, kDialogHeight);
    for (i = 0; i < tool->itemCount; ++i) CreateDialogItem(dialog, &tool->items[i], &limits);
    for (i = 0; i < BrushSectionCount; ++i) CreateDialogItem(dialog, &BrushSection[i], &limits);
    ok = CreateButton(dialog, kOkItemId, 50, "OK");
    CreateButton(dialog, kCancelItemId, 150, "Cancel");

    focus = sADMDialog->GetItem(dialog, tool->focusId);
    sADMItem->Activate(focus, true);
    focus = sADMDialog->GetItem(dialog, tool->focusId);
    sADMItem->SelectAll(focus);

    sADMItem->SetNotifyProc(ok, okHandler);
    return kNoErr;
}

static void StoreToolDialog(ADMItemRef okItem, ADMNotifierRef notifier, ASInt32 toolId) {
    const ToolDialogSpec *tool = &ToolDialogs[toolId];
    ADMDialogRef dialog = sADMItem->GetDialog(okItem);
    ASInt32 i;

    /* Ends the modal loop with 1; the items stay readable until we return. */
    sADMItem->DefaultNotify(okItem, notifier);
    for (i = 0; i < tool->itemCount; ++i) StoreDialogItem(dialog, &tool->items[i]);
    for (i = 0; i < BrushSectionCount; ++i) StoreDialogItem(dialog, &BrushSection[i]);
}

/* The host calls initialisation procedures and notifiers with nothing but the
   dialog or item, so each tool has its own pair. */
#define TOOL_DIALOG_PROCS(Name, toolId)                                                   \
    static void Name##OkHandler(ADMItemRef item, ADMNotifierRef notifier) {               \
        StoreToolDialog(item, notifier, toolId);                                          \
    }                                                                                     \
    static SPErr Init##Name##Dialog(ADMDialogRef dialog) {                                \
        return InitToolDialog(dialog, toolId, Name##OkHandler);                           \
    }

TOOL_DIALOG_PROCS(Scaling, kScalingTool)
TOOL_DIALOG_PROCS(Translate, kTranslateTool)
TOOL_DIALOG_PROCS(Rotate, kRotateTool)
TOOL_DIALOG_PROCS(Transparency, kTransparencyTool)
TOOL_DIALOG_PROCS(StrokeWeight, kStrokeWeightTool)
TOOL_DIALOG_PROCS(FillIntensity, kFillIntensityTool)
TOOL_DIALOG_PROCS(FillChannels, kFillChannelsTool)
TOOL_DIALOG_PROCS(Styles, kStylesTool)
TOOL_DIALOG_PROCS(BlendMode, kBlendModeTool)
TOOL_DIALOG_PROCS(ColorReducer, kColorReducerTool)
TOOL_DIALOG_PROCS(CornerPoints, kCornerPointsTool)
TOOL_DIALOG_PROCS(Swatches, kSwatchesTool)
TOOL_DIALOG_PROCS(Tint, kTintTool)
TOOL_DIALOG_PROCS(Gradient, kGradientTool)
TOOL_DIALOG_PROCS(Pattern, kPatternTool)
TOOL_DIALOG_PROCS(QuickShrink, kQuickShrinkTool)
TOOL_DIALOG_PROCS(PointShifter, kPointShifterTool)
TOOL_DIALOG_PROCS(GradientMesh, kGradientMeshTool)
TOOL_DIALOG_PROCS(WarpMesh, kWarpMeshTool)

static const ADMDialogInitProc kDialogInitProcs[kToolCount] = {
    InitScalingDialog,      InitTranslateDialog,    InitRotateDialog,      InitTransparencyDialog,
    InitStrokeWeightDialog, InitFillIntensityDialog, InitFillChannelsDialog, InitStylesDialog,
    InitBlendModeDialog,    InitColorReducerDialog, InitCornerPointsDialog, InitSwatchesDialog,
    InitTintDialog,         InitGradientDialog,     InitPatternDialog,     InitQuickShrinkDialog,
    InitPointShifterDialog, InitGradientMeshDialog, InitWarpMeshDialog,
};

SPErr EditToolOptions(AIToolMessage *message) {
    char name[32];
    ASInt32 toolId;
    ASInt32 result;

    for (toolId = 0; toolId < kToolCount; ++toolId)
        if (gGlobals->toolHandles[toolId] == message->tool) break;
    if (toolId == kToolCount) return kNoErr;

    snprintf(name, sizeof name, "Tool Dialog %d", (int)toolId);
    result = sADMDialog->Modal(message->d.self, name, kFirstToolDialogId + 2 * toolId, kADMModalDialogStyle,
                               kDialogInitProcs[toolId], NULL);
    return result == kOkItemId ? kNoErr : kStopErr;
}
