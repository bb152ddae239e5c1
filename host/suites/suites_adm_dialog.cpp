// The dialog, item, list and entry suites over the dialog manager. Every call
// is logged with the id of the item it concerns, so a test can compare the
// order in which a plug-in builds its dialogs with the order it must follow.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "adm_handles.h"
#include "host.h"

namespace smear {

namespace {

template <class F> void logCall(const char *suite, const char *function, F &&args) {
    CallLog &log = currentHost().log;
    if (log.enabled()) log.record(suite, function, args());
}

std::string num(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

std::string idOf(const DialogItem *item) { return item ? std::to_string(item->id) : "null"; }

void copyOut(const std::string &text, char *out, ASInt32 maxLength) {
    if (!out || maxLength <= 0) return;
    const size_t n = std::min(text.size(), size_t(maxLength) - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

// ---- Dialog suite

ASInt32 modal(SPPluginRef plugin, const char *name, ASInt32 dialogId, ASInt32 style, ADMDialogInitProc initProc,
              void *userData) {
    logCall(kADMDialogSuite, "Modal",
            [&] { return std::string(name ? name : "") + ", " + std::to_string(dialogId) + ", " + std::to_string(style); });
    return currentHost().dialogs->modal(plugin, name, dialogId, initProc, userData);
}

void setSize(ADMDialogRef dialog, ASInt32 width, ASInt32 height) {
    logCall(kADMDialogSuite, "SetSize", [&] { return std::to_string(width) + ", " + std::to_string(height); });
    if (Dialog *d = toDialog(dialog)) {
        d->width = std::max<ASInt32>(width, 0);
        d->height = std::max<ASInt32>(height, 0);
    }
}

ADMItemRef getItem(ADMDialogRef dialog, ASInt32 itemId) {
    logCall(kADMDialogSuite, "GetItem", [&] { return std::to_string(itemId); });
    Dialog *d = toDialog(dialog);
    return d ? toHandle(d->item(itemId)) : nullptr;
}

ADMItemRef createItem(ADMDialogRef dialog, ASInt32 itemId, const char *itemType, const ADMRect *bounds,
                      ADMItemInitProc initProc, void *userData) {
    logCall(kADMDialogSuite, "CreateItem", [&] {
        std::string args = std::to_string(itemId) + ", " + (itemType ? itemType : "null");
        if (bounds)
            args += ", " + std::to_string(bounds->left) + " " + std::to_string(bounds->top) + " " +
                    std::to_string(bounds->right) + " " + std::to_string(bounds->bottom);
        return args;
    });
    Dialog *d = toDialog(dialog);
    if (!d) return nullptr;
    const std::string type = itemType ? itemType : "";
    DialogItem &item = d->add(itemId, itemKindOf(type), type, bounds ? *bounds : ADMRect{0, 0, 0, 0});
    item.initProc = initProc;
    item.userData = userData;
    if (initProc) initProc(toHandle(&item));
    return toHandle(&item);
}

void *getUserData(ADMDialogRef dialog) {
    logCall(kADMDialogSuite, "GetUserData", [] { return std::string(); });
    Dialog *d = toDialog(dialog);
    return d ? d->userData : nullptr;
}

void endModal(ADMDialogRef dialog, ASInt32 modalResultId, ASBoolean cancelled) {
    logCall(kADMDialogSuite, "EndModal",
            [&] { return std::to_string(modalResultId) + ", " + std::to_string(int(cancelled)); });
    if (Dialog *d = toDialog(dialog)) d->end(modalResultId);
}

void getDialogText(ADMDialogRef dialog, char *text, ASInt32 maxLength) {
    logCall(kADMDialogSuite, "GetText", [] { return std::string(); });
    if (Dialog *d = toDialog(dialog)) copyOut(d->title, text, maxLength);
}

// ---- Item suite

void setNotifyProc(ADMItemRef item, ADMItemNotifyProc proc) {
    logCall(kADMItemSuite, "SetNotifyProc", [&] { return idOf(toItem(item)); });
    if (DialogItem *i = toItem(item)) i->notifyProc = proc;
}

void defaultNotify(ADMItemRef item, ADMNotifierRef) {
    logCall(kADMItemSuite, "DefaultNotify", [&] { return idOf(toItem(item)); });
    if (DialogItem *i = toItem(item)) currentHost().dialogs->defaultNotify(*i);
}

ADMDialogRef itemDialog(ADMItemRef item) {
    logCall(kADMItemSuite, "GetDialog", [&] { return idOf(toItem(item)); });
    DialogItem *i = toItem(item);
    return i ? toHandle(&i->dialog()) : nullptr;
}

ADMListRef itemList(ADMItemRef item) {
    logCall(kADMItemSuite, "GetList", [&] { return idOf(toItem(item)); });
    DialogItem *i = toItem(item);
    return i ? toHandle(i->list()) : nullptr;
}

void activate(ADMItemRef item, ASBoolean on) {
    logCall(kADMItemSuite, "Activate", [&] { return idOf(toItem(item)) + ", " + std::to_string(int(on)); });
    if (DialogItem *i = toItem(item)) i->dialog().activate(*i, on != 0);
}

void setItemText(ADMItemRef item, const char *text) {
    logCall(kADMItemSuite, "SetText", [&] { return idOf(toItem(item)) + ", " + (text ? text : ""); });
    DialogItem *i = toItem(item);
    if (!i) return;
    const std::string t = text ? text : "";
    // A number field takes text as a user's typing; the rest show it.
    if (i->kind == ItemKind::SpinEdit)
        i->typeText(t);
    else
        i->text = t;
}

void getItemText(ADMItemRef item, char *text, ASInt32 maxLength) {
    logCall(kADMItemSuite, "GetText", [&] { return idOf(toItem(item)); });
    if (DialogItem *i = toItem(item)) copyOut(i->displayText(), text, maxLength);
}

void selectAll(ADMItemRef item) {
    logCall(kADMItemSuite, "SelectAll", [&] { return idOf(toItem(item)); });
    if (DialogItem *i = toItem(item)) i->textSelected = true;
}

void setUnits(ADMItemRef item, ASInt32 units) {
    logCall(kADMItemSuite, "SetUnits", [&] { return idOf(toItem(item)) + ", " + std::to_string(units); });
    if (DialogItem *i = toItem(item)) i->units = units;
}

void setPrecision(ADMItemRef item, ASInt32 decimals) {
    logCall(kADMItemSuite, "SetPrecision", [&] { return idOf(toItem(item)) + ", " + std::to_string(decimals); });
    if (DialogItem *i = toItem(item)) {
        i->precision = std::clamp<ASInt32>(decimals, 0, 9);
        i->precisionSet = true;
    }
}

void setBooleanValue(ADMItemRef item, ASBoolean value) {
    logCall(kADMItemSuite, "SetBooleanValue", [&] { return idOf(toItem(item)) + ", " + std::to_string(int(value)); });
    if (DialogItem *i = toItem(item)) i->checked = value != 0;
}

ASBoolean getBooleanValue(ADMItemRef item) {
    logCall(kADMItemSuite, "GetBooleanValue", [&] { return idOf(toItem(item)); });
    DialogItem *i = toItem(item);
    return i && i->checked ? 1 : 0;
}

// Integer and float values: a number field's value, a check box's state, a
// popup's active entry index.
void setIntValue(ADMItemRef item, ASInt32 value) {
    logCall(kADMItemSuite, "SetIntValue", [&] { return idOf(toItem(item)) + ", " + std::to_string(value); });
    DialogItem *i = toItem(item);
    if (!i) return;
    if (i->kind == ItemKind::CheckBox)
        i->checked = value != 0;
    else if (i->kind == ItemKind::Popup)
        i->list()->select(i->list()->at(value), true);
    else
        i->setValue(value);
}

ASInt32 getIntValue(ADMItemRef item) {
    logCall(kADMItemSuite, "GetIntValue", [&] { return idOf(toItem(item)); });
    DialogItem *i = toItem(item);
    if (!i) return 0;
    if (i->kind == ItemKind::CheckBox) return i->checked ? 1 : 0;
    if (i->kind == ItemKind::Popup) return i->list()->activeIndex();
    // A field may hold any double: the nearest whole number an ASInt32 holds.
    if (std::isnan(i->value)) return 0;
    return ASInt32(std::lround(std::clamp(i->value, double(INT32_MIN), double(INT32_MAX))));
}

void setFloatValue(ADMItemRef item, AIReal value) {
    logCall(kADMItemSuite, "SetFloatValue", [&] { return idOf(toItem(item)) + ", " + num(value); });
    DialogItem *i = toItem(item);
    if (!i) return;
    if (i->kind == ItemKind::CheckBox)
        i->checked = value != 0;
    else
        i->setValue(value);
}

AIReal getFloatValue(ADMItemRef item) {
    logCall(kADMItemSuite, "GetFloatValue", [&] { return idOf(toItem(item)); });
    DialogItem *i = toItem(item);
    if (!i) return 0;
    if (i->kind == ItemKind::CheckBox) return i->checked ? 1.0f : 0.0f;
    return AIReal(i->value);
}

void setMinInt(ADMItemRef item, ASInt32 value) {
    logCall(kADMItemSuite, "SetMinIntValue", [&] { return idOf(toItem(item)) + ", " + std::to_string(value); });
    if (DialogItem *i = toItem(item)) i->setMin(value);
}

void setMaxInt(ADMItemRef item, ASInt32 value) {
    logCall(kADMItemSuite, "SetMaxIntValue", [&] { return idOf(toItem(item)) + ", " + std::to_string(value); });
    if (DialogItem *i = toItem(item)) i->setMax(value);
}

void setMinFloat(ADMItemRef item, AIReal value) {
    logCall(kADMItemSuite, "SetMinFloatValue", [&] { return idOf(toItem(item)) + ", " + num(value); });
    if (DialogItem *i = toItem(item)) i->setMin(value);
}

void setMaxFloat(ADMItemRef item, AIReal value) {
    logCall(kADMItemSuite, "SetMaxFloatValue", [&] { return idOf(toItem(item)) + ", " + num(value); });
    if (DialogItem *i = toItem(item)) i->setMax(value);
}

ASInt32 getID(ADMItemRef item) {
    logCall(kADMItemSuite, "GetID", [&] { return idOf(toItem(item)); });
    DialogItem *i = toItem(item);
    return i ? i->id : 0;
}

// ---- List suite

std::string listOf(const DialogList *list) { return list ? idOf(&list->item()) : "null"; }

ADMEntryRef insertEntry(ADMListRef list, ASInt32 index) {
    logCall(kADMListSuite, "InsertEntry", [&] { return listOf(toList(list)) + ", " + std::to_string(index); });
    DialogList *l = toList(list);
    return l ? toHandle(&l->insert(index)) : nullptr;
}

ADMEntryRef getEntry(ADMListRef list, ASInt32 index) {
    logCall(kADMListSuite, "GetEntry", [&] { return listOf(toList(list)) + ", " + std::to_string(index); });
    DialogList *l = toList(list);
    return l ? toHandle(l->at(index)) : nullptr;
}

ADMEntryRef getActiveEntry(ADMListRef list) {
    logCall(kADMListSuite, "GetActiveEntry", [&] { return listOf(toList(list)); });
    DialogList *l = toList(list);
    return l ? toHandle(l->active()) : nullptr;
}

ASInt32 numberOfEntries(ADMListRef list) {
    logCall(kADMListSuite, "NumberOfEntries", [&] { return listOf(toList(list)); });
    DialogList *l = toList(list);
    return l ? l->size() : 0;
}

// ---- Entry suite

std::string entryOf(const DialogEntry *entry) {
    if (!entry) return "null";
    return listOf(&entry->list()) + "#" + std::to_string(entry->id);
}

void setEntryID(ADMEntryRef entry, ASInt32 id) {
    logCall(kADMEntrySuite, "SetID", [&] { return std::to_string(id); });
    if (DialogEntry *e = toEntry(entry)) e->id = id;
}

ASInt32 getEntryID(ADMEntryRef entry) {
    logCall(kADMEntrySuite, "GetID", [&] { return entryOf(toEntry(entry)); });
    DialogEntry *e = toEntry(entry);
    // No active entry: the popup shows its first entry's place, number 0.
    return e ? e->id : 0;
}

void selectEntry(ADMEntryRef entry, ASBoolean select) {
    logCall(kADMEntrySuite, "Select", [&] { return entryOf(toEntry(entry)) + ", " + std::to_string(int(select)); });
    if (DialogEntry *e = toEntry(entry)) e->list().select(e, select != 0);
}

void setEntryText(ADMEntryRef entry, const char *text) {
    logCall(kADMEntrySuite, "SetText", [&] { return std::string(text ? text : ""); });
    if (DialogEntry *e = toEntry(entry)) e->text = text ? text : "";
}

void getEntryText(ADMEntryRef entry, char *text, ASInt32 maxLength) {
    logCall(kADMEntrySuite, "GetText", [&] { return entryOf(toEntry(entry)); });
    if (DialogEntry *e = toEntry(entry)) copyOut(e->text, text, maxLength);
}

}  // namespace

const ADMDialogSuite kAdmDialogTable = {modal, setSize, getItem, createItem, getUserData, endModal, getDialogText};

const ADMItemSuite kAdmItemTable = {
    setNotifyProc, defaultNotify, itemDialog,      itemList,        activate,      setItemText, getItemText,
    selectAll,     setUnits,      setPrecision,    setBooleanValue, getBooleanValue, setIntValue, getIntValue,
    setFloatValue, getFloatValue, setMinInt,       setMaxInt,       setMinFloat,   setMaxFloat, getID};

const ADMListSuite kAdmListTable = {insertEntry, getEntry, getActiveEntry, numberOfEntries};

const ADMEntrySuite kAdmEntryTable = {setEntryID, getEntryID, selectEntry, setEntryText, getEntryText};

}  // namespace smear
