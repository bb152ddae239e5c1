// The stand-in dialog manager: modal dialogs built from the plug-in's dialog
// templates, items created at run time, and a script of user actions that is
// played while a dialog is open. The ADM suites (suites/suites_adm*.cpp) are
// thin wrappers over the objects declared here; handles given to the plug-in
// are pointers to them.
#pragma once

#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "hostapi.h"
#include "ui_event.h"

namespace smear {

class ResourceSet;
struct DialogTemplate;
struct DialogItemTemplate;
class Dialog;
class DialogItem;
class DialogList;

enum class ItemKind { Static, SpinEdit, CheckBox, Popup, PushButton, Frame, Other };

// The item kind of an item-type name given to CreateItem.
ItemKind itemKindOf(const std::string &itemType);
const char *itemKindName(ItemKind kind);

// One entry of a popup's list: its text and the number the plug-in gave it.
class DialogEntry {
public:
    explicit DialogEntry(DialogList &list) : list_(&list) {}
    DialogList &list() const { return *list_; }
    std::string text;
    ASInt32 id = 0;

private:
    DialogList *list_;
};

// A popup's list; at most one entry is active (the one the popup shows).
class DialogList {
public:
    explicit DialogList(DialogItem &item) : item_(&item) {}
    DialogItem &item() const { return *item_; }

    // Inserts a new entry before `index` (clamped to 0..size); returns it.
    DialogEntry &insert(ASInt32 index);
    DialogEntry *at(ASInt32 index) const;  // null past the ends
    ASInt32 size() const { return ASInt32(entries_.size()); }
    // Index of the active entry, -1 when none.
    ASInt32 activeIndex() const;
    DialogEntry *active() const { return active_; }
    void select(DialogEntry *entry, bool on);

private:
    DialogItem *item_;
    std::vector<std::unique_ptr<DialogEntry>> entries_;
    DialogEntry *active_ = nullptr;
};

// The notification the dialog manager passes with a user action.
struct DialogNotifier {
    DialogItem *item = nullptr;
    std::string type;  // "user changed" for every action the script plays
};

class DialogItem {
public:
    DialogItem(Dialog &dialog, ASInt32 id, ItemKind kind, std::string type, ADMRect rect);
    Dialog &dialog() const { return *dialog_; }

    ASInt32 id;
    ItemKind kind;
    std::string type;  // the item-type name it was created with, or the template's class
    ADMRect rect;
    bool fromTemplate = false;

    // Text of labels, check boxes and buttons. Number fields and popups show
    // text derived from their value (see displayText).
    std::string text;

    // Check boxes.
    bool checked = false;

    // Number fields. The value is kept as given; the text shows it with
    // `precision` decimals. A range whose maximum lies below its minimum
    // (a count of zero minus one, say) admits only the minimum.
    double value = 0;
    double minValue = -1e30;
    double maxValue = 1e30;
    ASInt32 precision = 0;
    ASInt32 units = 0;
    bool precisionSet = false;
    void setValue(double v);  // clamped to the limits
    void setMin(double v);
    void setMax(double v);
    // A user typing `input`: the whole text must be a number; it is rounded
    // to the decimals shown and clamped. False (value unchanged) otherwise.
    bool typeText(const std::string &input);
    double lowLimit() const { return minValue; }
    double highLimit() const { return maxValue < minValue ? minValue : maxValue; }

    // Popups.
    DialogList *list() const { return list_.get(); }

    // Focus and text selection.
    bool active = false;
    bool textSelected = false;

    ADMItemNotifyProc notifyProc = nullptr;
    ADMItemInitProc initProc = nullptr;
    void *userData = nullptr;

    // The text the item shows: a number field's formatted value, a popup's
    // active entry, otherwise its text.
    std::string displayText() const;

private:
    Dialog *dialog_;
    std::unique_ptr<DialogList> list_;
};

class Dialog {
public:
    Dialog(SPPluginRef plugin, std::string name, ASInt32 resourceId, std::string title);

    SPPluginRef plugin;
    std::string name;
    ASInt32 resourceId;
    std::string title;
    ASInt32 width = 0, height = 0;  // client area, pixels
    void *userData = nullptr;

    // Items in creation order (template items first).
    const std::vector<std::unique_ptr<DialogItem>> &items() const { return items_; }
    DialogItem &add(ASInt32 id, ItemKind kind, std::string type, ADMRect rect);
    // The first item created with `id`, null when none.
    DialogItem *item(ASInt32 id) const;
    // The item holding the keyboard focus, null when none.
    DialogItem *focus() const;
    void activate(DialogItem &item, bool on);

    bool ended() const { return ended_; }
    ASInt32 result() const { return result_; }
    void end(ASInt32 result);

private:
    std::vector<std::unique_ptr<DialogItem>> items_;
    bool ended_ = false;
    ASInt32 result_ = 0;
};

// One thing a user does in an open dialog.
struct DialogAction {
    enum Kind {
        Type,      // type `text` into `item` (a number field parses it)
        Check,     // tick the check box `item`
        Uncheck,   // clear it
        Pick,      // choose entry number `entry` (its index) of the popup `item`
        Press,     // click the button `item`
        Escape,    // the Escape key: the Cancel button, id 2
        CloseBox,  // the window's close box: ends the dialog with 0
    } kind;
    ASInt32 item = 0;
    std::string text;
    ASInt32 entry = 0;

    static DialogAction type(ASInt32 item, std::string text) { return {Type, item, std::move(text), 0}; }
    static DialogAction check(ASInt32 item, bool on) { return {on ? Check : Uncheck, item, {}, 0}; }
    static DialogAction pick(ASInt32 item, ASInt32 entry) { return {Pick, item, {}, entry}; }
    static DialogAction press(ASInt32 item) { return {Press, item, {}, 0}; }
    static DialogAction escape() { return {Escape, 0, {}, 0}; }
    static DialogAction closeBox() { return {CloseBox, 0, {}, 0}; }
};

// What the icon suite hands out.
struct DialogIcon {
    ASInt32 type = 0;
    ASInt32 width = 0, height = 0;
    ASInt32 resourceId = 0;
};

class DialogManager {
public:
    // Dialogs are built from the templates in `resources`, and each one that
    // opens is added to `transcript`. Both belong to the owner (the host) and
    // outlive the manager; the resources may be replaced, as when the module
    // is loaded again.
    DialogManager(const ResourceSet &resources, std::vector<UiEvent> &transcript)
        : resources_(resources), transcript_(transcript) {}
    DialogManager(const DialogManager &) = delete;
    DialogManager &operator=(const DialogManager &) = delete;

    // Scripts: each call queues the actions for one dialog; every Modal takes
    // the oldest script. A dialog still open when its script runs out is
    // closed as by Enter: its item 1 is pressed.
    void queue(std::vector<DialogAction> actions) { scripts_.push_back(std::move(actions)); }
    size_t queuedScripts() const { return scripts_.size(); }
    void clearScripts() { scripts_.clear(); }

    // Called with every dialog once its initialisation procedure has run,
    // before the script plays: the open dialog as the user first sees it.
    std::function<void(Dialog &)> onOpen;

    // Actions that could not be played (no such item, wrong kind of item,
    // text that is not a number ...), with the dialog's name, in order.
    std::vector<std::string> problems;

    // The modal loop behind the dialog suite's Modal: -1 when there is no
    // template `dialogId` or the initialisation procedure fails.
    ASInt32 modal(SPPluginRef plugin, const char *name, ASInt32 dialogId, ADMDialogInitProc initProc,
                  void *userData);

    // The dialog manager's own handling of a notification: a push button of
    // an open dialog ends it with the button's id.
    void defaultNotify(DialogItem &item);

    // The innermost open dialog, null when none.
    Dialog *current() const { return open_.empty() ? nullptr : open_.back(); }

    // Icons handed out by the icon suite and not yet destroyed.
    DialogIcon *newIcon(const DialogIcon &icon);
    bool destroyIcon(DialogIcon *icon);
    size_t liveIcons() const { return icons_.size(); }

private:
    void build(Dialog &dialog, const DialogTemplate &tmpl);
    void play(Dialog &dialog, const DialogAction &action);
    void notify(DialogItem &item);
    void problem(const Dialog &dialog, const std::string &what);

    const ResourceSet &resources_;
    std::vector<UiEvent> &transcript_;
    std::deque<std::vector<DialogAction>> scripts_;
    std::vector<Dialog *> open_;
    std::list<DialogIcon> icons_;
};

// Template coordinates are dialog units of an 8-point "MS Sans Serif":
// four units across make six pixels, eight units down make thirteen.
inline ASInt32 dialogUnitsToPixelsX(int units) { return units * 6 / 4; }
inline ASInt32 dialogUnitsToPixelsY(int units) { return units * 13 / 8; }

}  // namespace smear
