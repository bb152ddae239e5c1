// The dialog manager's basic, icon and tracker suites, and the registration of
// every ADM suite. Dialogs, items, lists and entries are in suites_adm_dialog.cpp.
#include <algorithm>
#include <cstring>

#include "adm_handles.h"
#include "host.h"

namespace smear {

namespace {

// ---- Basic

SPErr getIndexString(SPPluginRef plugin, ASInt32 stringId, ASInt32 index, char *buffer, ASInt32 bufferSize) {
    Host &host = currentHost();
    if (SPErr e = enterSuite(kADMBasicSuite, "GetIndexString",
                             host.log.enabled() ? std::to_string(stringId) + ", " + std::to_string(index)
                                                : std::string()))
        return e;
    if (plugin != host.pluginRef() || buffer == nullptr || bufferSize <= 0) return kBadParameterErr;
    // A string past the end of the list reads as empty: that is how a list ends.
    std::string text;
    const long id = long(stringId) + long(index);
    if (id >= 0 && id <= 0xFFFF) text = host.resources().string(uint16_t(id)).value_or(std::string());
    const size_t n = std::min(text.size(), size_t(bufferSize) - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return kNoErr;
}

void alert(const char *function, const char *message) {
    Host &host = currentHost();
    host.log.record(kADMBasicSuite, function, message ? message : "");
    UiEvent event;
    event.kind = "alert";
    event.title = message ? message : "";
    host.transcript.push_back(std::move(event));
}

void messageAlert(const char *message) { alert("MessageAlert", message); }
void errorAlert(const char *message) { alert("ErrorAlert", message); }
void beep() { currentHost().log.record(kADMBasicSuite, "Beep"); }

const ADMBasicSuite kBasicTable = {getIndexString, messageAlert, errorAlert, beep};

// ---- Icons

ADMIconRef getIconFromResource(SPPluginRef, ASInt32 iconId, ASInt32 iconIndex) {
    Host &host = currentHost();
    host.log.record(kADMIconSuite, "GetFromResource",
                    host.log.enabled() ? std::to_string(iconId) + ", " + std::to_string(iconIndex) : std::string());
    DialogIcon icon;
    icon.type = kADMUnknownIconType;
    const long id = long(iconId) + long(iconIndex);
    if (id >= 0 && id <= 0xFFFF) {
        auto images = host.resources().iconGroup(uint16_t(id));
        if (images && !images->empty()) {
            icon.type = kADMIconResourceType;
            icon.resourceId = ASInt32(id);
            icon.width = images->front().width;
            icon.height = images->front().height;
        }
    }
    return toHandle(host.dialogs->newIcon(icon));
}

void destroyIcon(ADMIconRef icon) {
    currentHost().log.record(kADMIconSuite, "Destroy");
    if (icon) currentHost().dialogs->destroyIcon(toIcon(icon));
}

ASInt32 iconWidth(ADMIconRef icon) { return icon ? toIcon(icon)->width : 0; }
ASInt32 iconType(ADMIconRef icon) { return icon ? toIcon(icon)->type : kADMUnknownIconType; }
ASInt32 iconHeight(ADMIconRef icon) { return icon ? toIcon(icon)->height : 0; }

const ADMIconSuite kIconTable = {getIconFromResource, destroyIcon, iconWidth, iconType, iconHeight};

// ---- Tracker: there is only the message being handled, so every tracker
// (and the null one) reports its modifier word.

ASInt32 getModifiers(ADMTrackerRef) {
    currentHost().log.record(kADMTrackerSuite, "GetModifiers");
    return currentHost().modifiers;
}

const ADMTrackerSuite kTrackerTable = {getModifiers};

}  // namespace

void registerDialogSuites(SuiteRegistry &r) {
    r.add(kADMBasicSuite, kADMBasicSuiteVersion, &kBasicTable);
    r.add(kADMDialogSuite, kADMDialogSuiteVersion, &kAdmDialogTable);
    r.add(kADMItemSuite, kADMItemSuiteVersion, &kAdmItemTable);
    r.add(kADMIconSuite, kADMIconSuiteVersion, &kIconTable);
    r.add(kADMTrackerSuite, kADMTrackerSuiteVersion, &kTrackerTable);
    r.add(kADMListSuite, kADMListSuiteVersion, &kAdmListTable);
    r.add(kADMEntrySuite, kADMEntrySuiteVersion, &kAdmEntryTable);
}

}  // namespace smear
