/* The error dialog: a message from string list 16050 and the code as text. */
#include <string.h>

#include "shell.h"
#include "suites.h"

#define kTextSize 256

typedef struct ErrorDialogData {
    const char *message;
    const char *codeText;
} ErrorDialogData;

/* Codes whose upper 16 bits are all 0 or all 1 are numbers. */
static int IsNumberCode(SPErr code) {
    ASInt32 upper = code >> 16;
    return upper == 0 || upper == -1;
}

/* Reads string `index` of the list, at most 255 characters and the zero. */
static SPErr ReadListString(SPPluginRef plugin, ASInt32 index, char *text) {
    text[0] = '\0';
    SPErr error = sADMBasic->GetIndexString(plugin, kErrorStringList, index, text, kTextSize);
    text[kTextSize - 1] = '\0';
    return error;
}

/* Zero-terminated to length-prefixed, in place; refused for 256 characters
   or more (the buffer is left as it was). */
static int ToLengthPrefixed(char *text) {
    size_t length = strlen(text);
    if (length >= kTextSize) return 0;
    memmove(text + 1, text, length);
    text[0] = (char)length;
    return 1;
}

/* The code an entry of the list stands for. */
static SPErr CodeOfEntry(char *entry) {
    int isNumber = entry[0] == '-' || (entry[0] >= '0' && entry[0] <= '9');
    if (!ToLengthPrefixed(entry)) return kNoErr;
    if (isNumber) {
        AIReal value = 0;
        sAIUser->StringToReal((const unsigned char *)entry, &value);
        return (SPErr)(ASInt16)(ASInt32)value;
    }
    /* The first four characters, first character least significant; a
       shorter entry counts as padded with zeroes. */
    const unsigned char *chars = (const unsigned char *)entry + 1;
    unsigned length = (unsigned char)entry[0];
    ASInt32 value = 0;
    for (unsigned i = 0; i < 4 && i < length; ++i) value |= (ASInt32)chars[i] << (8 * i);
    return (SPErr)value;
}

SPErr ErrorLookup(SPPluginRef plugin, SPErr code, char *text) {
    char entry[kTextSize];
    ASInt32 k = 1;
    /* A failed read is not the end of the list: it fails the lookup, so no
       wrong message is shown. */
    SPErr error = ReadListString(plugin, k, entry);
    ASInt32 messageIndex = 0;
    while (error == kNoErr && entry[0] != '\0') {
        if (CodeOfEntry(entry) == code) {
            messageIndex = k + 1;
            break;
        }
        k += 2;
        error = ReadListString(plugin, k, entry);
    }
    if (error != kNoErr) return error;
    /* The list ended without a match: the last pair's message. */
    if (messageIndex == 0) messageIndex = k - 1;
    return ReadListString(plugin, messageIndex, text);
}

/* A number in decimal; a four-character code from its least significant
   byte up, so 'S!Fd' reads "dF!S". */
static void CodeText(SPErr code, char *text) {
    if (IsNumberCode(code)) {
        unsigned char pascal[kTextSize];
        pascal[0] = 0;
        sAIUser->RealToString((AIReal)code, 0, pascal);
        memcpy(text, pascal + 1, pascal[0]);
        text[pascal[0]] = '\0';
        return;
    }
    for (int i = 0; i < 4; ++i) text[i] = (char)((code >> (8 * i)) & 0xFF);
    text[4] = '\0';
}

static void PassToDefault(ADMItemRef item, ADMNotifierRef notifier) { sADMItem->DefaultNotify(item, notifier); }

static SPErr InitErrorDialog(ADMDialogRef dialog) {
    ErrorDialogData *data = (ErrorDialogData *)sADMDialog->GetUserData(dialog);
    sADMItem->SetNotifyProc(sADMDialog->GetItem(dialog, 1), PassToDefault);
    sADMItem->SetText(sADMDialog->GetItem(dialog, 2), data->message);
    sADMItem->SetText(sADMDialog->GetItem(dialog, 3), data->codeText);
    return kNoErr;
}

void ReportError(SPMessageData *message, SPErr code) {
    if (code == kNoErr || code == kStopErr) return;
    if (sADMBasic == NULL || sADMDialog == NULL) return;
    /* The dialog's own calls need these as well. */
    if (sADMItem == NULL || sAIUser == NULL) return;

    char text[kTextSize];
    if (ErrorLookup(message->self, code, text) != kNoErr) return;
    char codeText[kTextSize];
    CodeText(code, codeText);

    ErrorDialogData data = {text, codeText};
    sADMDialog->Modal(message->self, "Error Dialog", kErrorDialogId, kADMModalDialogStyle, InitErrorDialog,
                      &data);
}

static SPErr InitAboutDialog(ADMDialogRef dialog) {
    sADMItem->SetNotifyProc(sADMDialog->GetItem(dialog, 1), PassToDefault);
    return kNoErr;
}

SPErr ShowAbout(SPMessageData *message) {
    sADMDialog->Modal(message->self, "About Dialog", kAboutDialogId, kADMModalDialogStyle, InitAboutDialog, NULL);
    return kNoErr;
}
