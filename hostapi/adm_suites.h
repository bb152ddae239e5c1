/* The host's dialog-manager suites. */
#ifndef HOSTAPI_ADM_SUITES_H
#define HOSTAPI_ADM_SUITES_H

#include "types.h"

/* Item type names passed to CreateItem. */
#define kADMTextStaticType "ADM Text Static Type"
#define kADMSpinEditType "ADM Spin Edit Type"
#define kADMTextCheckBoxType "ADM Text Check Box Type"
#define kADMPopupListType "ADM Popup List Type"
#define kADMTextPushButtonType "ADM Text Push Button Type"

/* Dialog styles. */
#define kADMModalDialogStyle 0

/* Units of number items. */
#define kADMNoUnits 0

/* Icon types; a missing resource gives kADMUnknownIconType. */
enum {
    kADMBitmapIconType = 1,
    kADMIconResourceType = 2,
    kADMUnknownIconType = 6
};

typedef SPErr (*ADMDialogInitProc)(ADMDialogRef dialog);
typedef SPErr (*ADMItemInitProc)(ADMItemRef item);
typedef void (*ADMItemNotifyProc)(ADMItemRef item, ADMNotifierRef notifier);

#define kADMBasicSuite "ADM Basic Suite"
#define kADMBasicSuiteVersion 2

typedef struct ADMBasicSuite {
    /* String `index` of the plug-in's string list `stringId`, zero-terminated
       into a buffer of `bufferSize` bytes; an index past the list gives "". */
    SPErr (*GetIndexString)(SPPluginRef plugin, ASInt32 stringId, ASInt32 index, char *buffer,
                            ASInt32 bufferSize);
    void (*MessageAlert)(const char *message);
    void (*ErrorAlert)(const char *message);
    void (*Beep)(void);
} ADMBasicSuite;

#define kADMDialogSuite "ADM Dialog Suite"
#define kADMDialogSuiteVersion 3

typedef struct ADMDialogSuite {
    /* Runs a modal dialog from template `dialogId`; returns the id of the
       item that closed it. */
    ASInt32 (*Modal)(SPPluginRef plugin, const char *name, ASInt32 dialogId, ASInt32 style,
                     ADMDialogInitProc initProc, void *userData);
    void (*SetSize)(ADMDialogRef dialog, ASInt32 width, ASInt32 height);
    ADMItemRef (*GetItem)(ADMDialogRef dialog, ASInt32 itemId);
    ADMItemRef (*CreateItem)(ADMDialogRef dialog, ASInt32 itemId, const char *itemType,
                             const ADMRect *bounds, ADMItemInitProc initProc, void *userData);
    void *(*GetUserData)(ADMDialogRef dialog);
    void (*EndModal)(ADMDialogRef dialog, ASInt32 modalResultId, ASBoolean cancelled);
    void (*GetText)(ADMDialogRef dialog, char *text, ASInt32 maxLength);
} ADMDialogSuite;

#define kADMItemSuite "ADM Item Suite"
#define kADMItemSuiteVersion 4

typedef struct ADMItemSuite {
    void (*SetNotifyProc)(ADMItemRef item, ADMItemNotifyProc proc);
    /* The dialog manager's own handling of a notification. */
    void (*DefaultNotify)(ADMItemRef item, ADMNotifierRef notifier);
    ADMDialogRef (*GetDialog)(ADMItemRef item);
    ADMListRef (*GetList)(ADMItemRef item);
    void (*Activate)(ADMItemRef item, ASBoolean activate);
    void (*SetText)(ADMItemRef item, const char *text);
    void (*GetText)(ADMItemRef item, char *text, ASInt32 maxLength);
    void (*SelectAll)(ADMItemRef item);
    void (*SetUnits)(ADMItemRef item, ASInt32 units);
    void (*SetPrecision)(ADMItemRef item, ASInt32 decimals);
    void (*SetBooleanValue)(ADMItemRef item, ASBoolean value);
    ASBoolean (*GetBooleanValue)(ADMItemRef item);
    void (*SetIntValue)(ADMItemRef item, ASInt32 value);
    ASInt32 (*GetIntValue)(ADMItemRef item);
    void (*SetFloatValue)(ADMItemRef item, AIReal value);
    AIReal (*GetFloatValue)(ADMItemRef item);
    void (*SetMinIntValue)(ADMItemRef item, ASInt32 value);
    void (*SetMaxIntValue)(ADMItemRef item, ASInt32 value);
    void (*SetMinFloatValue)(ADMItemRef item, AIReal value);
    void (*SetMaxFloatValue)(ADMItemRef item, AIReal value);
    ASInt32 (*GetID)(ADMItemRef item);
} ADMItemSuite;

#define kADMIconSuite "ADM Icon Suite"
#define kADMIconSuiteVersion 1

typedef struct ADMIconSuite {
    /* Icon `iconIndex` of icon group `iconId` + `iconIndex` of the plug-in. */
    ADMIconRef (*GetFromResource)(SPPluginRef plugin, ASInt32 iconId, ASInt32 iconIndex);
    void (*Destroy)(ADMIconRef icon);
    ASInt32 (*GetWidth)(ADMIconRef icon);
    ASInt32 (*GetType)(ADMIconRef icon);
    ASInt32 (*GetHeight)(ADMIconRef icon);
} ADMIconSuite;

#define kADMTrackerSuite "ADM Tracker Suite"
#define kADMTrackerSuiteVersion 1

/* Modifier bits of the tracker's modifier word. */
enum {
    kADMShiftKeyMask = 0x20,
    kADMControlKeyMask = 0x40,
    kADMSpaceKeyMask = 0x200
};

typedef struct ADMTrackerSuite {
    /* Modifier word of the message being handled; a null tracker means the
       current one. */
    ASInt32 (*GetModifiers)(ADMTrackerRef tracker);
} ADMTrackerSuite;

#define kADMListSuite "ADM List Suite"
#define kADMListSuiteVersion 1

typedef struct ADMListSuite {
    ADMEntryRef (*InsertEntry)(ADMListRef list, ASInt32 index);
    ADMEntryRef (*GetEntry)(ADMListRef list, ASInt32 index);
    ADMEntryRef (*GetActiveEntry)(ADMListRef list);
    ASInt32 (*NumberOfEntries)(ADMListRef list);
} ADMListSuite;

#define kADMEntrySuite "ADM Entry Suite"
#define kADMEntrySuiteVersion 2

typedef struct ADMEntrySuite {
    void (*SetID)(ADMEntryRef entry, ASInt32 id);
    ASInt32 (*GetID)(ADMEntryRef entry);
    void (*Select)(ADMEntryRef entry, ASBoolean select);
    void (*SetText)(ADMEntryRef entry, const char *text);
    void (*GetText)(ADMEntryRef entry, char *text, ASInt32 maxLength);
} ADMEntrySuite;

#endif
