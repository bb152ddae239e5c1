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

static ASInt32 IntMaximum(const DialogItemSpec *row, CountLimits *limits) {
    switch (row->limitSource) {
    case kStyleCountLimit:
        if (!limits->styleCountAsked) {
            ASInt32 count = 0;
            limits->styleCountAsked = 1;
            if (sAIArtStyle->CountNamedArtStyles(&count) == kNoErr)
                limits->styleMaximum = count - 1;
            else
                limits->styleMaximum = (ASInt32)row->maximum;
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
        return (ASInt32)row->maximum;
    }
}

static void CreatePopupEntries(ADMItemRef item, const DialogItemSpec *row) {
    ADMListRef list = sADMItem->GetList(item);
    for (ASInt32 i = 0; i < row->list->count; ++i) {
        ADMEntryRef entry = sADMList->InsertEntry(list, i);
        sADMEntry->SetText(entry, row->list->entries[i]);
        sADMEntry->SetID(entry, i);
    }
    sADMEntry->Select(sADMList->GetEntry(list, *IntField(row->field)), true);
}

/* Creates one item and shows its field, in the call order each kind needs. */
static void CreateDialogItem(ADMDialogRef dialog, const DialogItemSpec *row, CountLimits *limits) {
    ADMItemRef item;
    switch (row->kind) {
    case kLabelItem:
        item = sADMDialog->CreateItem(dialog, row->id, kADMTextStaticType, &row->rect, NULL, NULL);
        sADMItem->SetText(item, row->text);
        break;
    case kFloatFieldItem:
        item = sADMDialog->CreateItem(dialog, row->id, kADMSpinEditType, &row->rect, NULL, NULL);
        sADMItem->SetUnits(item, kADMNoUnits);
        sADMItem->SetMinFloatValue(item, row->minimum);
        sADMItem->SetMaxFloatValue(item, row->maximum);
        sADMItem->SetFloatValue(item, *FloatField(row->field));
        sADMItem->SetPrecision(item, 2);
        break;
    case kIntFieldItem: {
        /* The count behind a maximum is asked before the item exists. */
        ASInt32 maximum = IntMaximum(row, limits);
        item = sADMDialog->CreateItem(dialog, row->id, kADMSpinEditType, &row->rect, NULL, NULL);
        sADMItem->SetUnits(item, kADMNoUnits);
        sADMItem->SetMinIntValue(item, (ASInt32)row->minimum);
        sADMItem->SetMaxIntValue(item, maximum);
        sADMItem->SetIntValue(item, *IntField(row->field));
        break;
    }
    case kCheckBoxItem:
        item = sADMDialog->CreateItem(dialog, row->id, kADMTextCheckBoxType, &row->rect, NULL, NULL);
        sADMItem->SetBooleanValue(item, *IntField(row->field) != 0);
        sADMItem->SetText(item, row->text);
        break;
    case kPopupItem:
        item = sADMDialog->CreateItem(dialog, row->id, kADMPopupListType, &row->rect, NULL, NULL);
        CreatePopupEntries(item, row);
        break;
    }
}

/* Stores one value item's value into its field; labels store nothing. */
static void StoreDialogItem(ADMDialogRef dialog, const DialogItemSpec *row) {
    ADMItemRef item;
    if (row->kind == kLabelItem) return;
    item = sADMDialog->GetItem(dialog, row->id);
    switch (row->kind) {
    case kFloatFieldItem:
        *FloatField(row->field) = sADMItem->GetFloatValue(item);
        break;
    case kIntFieldItem:
        *IntField(row->field) = sADMItem->GetIntValue(item);
        break;
    case kCheckBoxItem:
        *IntField(row->field) = sADMItem->GetBooleanValue(item) ? 1 : 0;
        break;
    case kPopupItem:
        *IntField(row->field) = sADMEntry->GetID(sADMList->GetActiveEntry(sADMItem->GetList(item)));
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
