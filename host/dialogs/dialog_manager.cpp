#include "dialog_manager.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "resources.h"

namespace smear {

// ---- Kinds

ItemKind itemKindOf(const std::string &itemType) {
    if (itemType == kADMTextStaticType) return ItemKind::Static;
    if (itemType == kADMSpinEditType) return ItemKind::SpinEdit;
    if (itemType == kADMTextCheckBoxType) return ItemKind::CheckBox;
    if (itemType == kADMPopupListType) return ItemKind::Popup;
    if (itemType == kADMTextPushButtonType) return ItemKind::PushButton;
    return ItemKind::Other;
}

const char *itemKindName(ItemKind kind) {
    switch (kind) {
    case ItemKind::Static: return "label";
    case ItemKind::SpinEdit: return "number";
    case ItemKind::CheckBox: return "check box";
    case ItemKind::Popup: return "popup";
    case ItemKind::PushButton: return "button";
    case ItemKind::Frame: return "frame";
    case ItemKind::Other: break;
    }
    return "other";
}

// ---- Lists

DialogEntry &DialogList::insert(ASInt32 index) {
    index = std::clamp<ASInt32>(index, 0, size());
    auto it = entries_.insert(entries_.begin() + index, std::make_unique<DialogEntry>(*this));
    return **it;
}

DialogEntry *DialogList::at(ASInt32 index) const {
    if (index < 0 || index >= size()) return nullptr;
    return entries_[size_t(index)].get();
}

ASInt32 DialogList::activeIndex() const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].get() == active_) return ASInt32(i);
    return -1;
}

void DialogList::select(DialogEntry *entry, bool on) {
    if (on)
        active_ = entry;
    else if (active_ == entry)
        active_ = nullptr;
}

// ---- Items

DialogItem::DialogItem(Dialog &dialog, ASInt32 id_, ItemKind kind_, std::string type_, ADMRect rect_)
    : id(id_), kind(kind_), type(std::move(type_)), rect(rect_), dialog_(&dialog) {
    if (kind == ItemKind::Popup) list_ = std::make_unique<DialogList>(*this);
}

void DialogItem::setValue(double v) {
    if (!std::isfinite(v)) return;
    value = std::clamp(v, lowLimit(), highLimit());
}

void DialogItem::setMin(double v) {
    minValue = v;
    setValue(value);
}

void DialogItem::setMax(double v) {
    maxValue = v;
    setValue(value);
}

namespace {

// A number as a user may type it: optional blanks around an optional sign
// and decimal digits with at most one point. No exponents, no hex, no words.
bool parseNumber(const std::string &input, double &out) {
    size_t begin = input.find_first_not_of(" \t");
    size_t end = input.find_last_not_of(" \t");
    if (begin == std::string::npos) return false;
    std::string s = input.substr(begin, end - begin + 1);
    if (s[0] == '+') s.erase(0, 1);
    if (s.empty() || s[0] == '+') return false;
    const char *first = s.data();
    const char *last = s.data() + s.size();
    auto [ptr, ec] = std::from_chars(first, last, out, std::chars_format::fixed);
    return ec == std::errc() && ptr == last && std::isfinite(out);
}

std::string formatNumber(double value, ASInt32 decimals) {
    decimals = std::clamp<ASInt32>(decimals, 0, 9);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", int(decimals), value);
    std::string text = buffer;
    // A value that rounds to zero shows no sign.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

}  // namespace

bool DialogItem::typeText(const std::string &input) {
    double parsed = 0;
    if (!parseNumber(input, parsed)) return false;
    const double scale = std::pow(10.0, std::clamp<ASInt32>(precision, 0, 9));
    setValue(std::round(parsed * scale) / scale);
    return true;
}

std::string DialogItem::displayText() const {
    switch (kind) {
    case ItemKind::SpinEdit:
        return formatNumber(value, precision);
    case ItemKind::Popup: {
        const DialogEntry *entry = list_->active();
        return entry ? entry->text : std::string();
    }
    default:
        return text;
    }
}

// ---- Dialogs

Dialog::Dialog(SPPluginRef plugin_, std::string name_, ASInt32 resourceId_, std::string title_)
    : plugin(plugin_), name(std::move(name_)), resourceId(resourceId_), title(std::move(title_)) {}

DialogItem &Dialog::add(ASInt32 id, ItemKind kind, std::string type, ADMRect rect) {
    items_.push_back(std::make_unique<DialogItem>(*this, id, kind, std::move(type), rect));
    return *items_.back();
}

DialogItem *Dialog::item(ASInt32 id) const {
    for (const auto &item : items_)
        if (item->id == id) return item.get();
    return nullptr;
}

DialogItem *Dialog::focus() const {
    for (const auto &item : items_)
        if (item->active) return item.get();
    return nullptr;
}

void Dialog::activate(DialogItem &target, bool on) {
    if (!on) {
        target.active = false;
        target.textSelected = false;
        return;
    }
    for (const auto &item : items_) {
        if (item.get() != &target) {
            item->active = false;
            item->textSelected = false;
        }
    }
    target.active = true;
}

void Dialog::end(ASInt32 result) {
    if (ended_) return;  // the first ending wins, as in a real modal loop
    ended_ = true;
    result_ = result;
}

// ---- The manager

namespace {

// Window classes of template items; button and static styles in their low bits.
ItemKind templateKind(const std::string &windowClass, uint32_t style) {
    std::string cls = windowClass;
    std::transform(cls.begin(), cls.end(), cls.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    if (cls == "BUTTON") {
        switch (style & 0xF) {
        case 0x0: case 0x1: return ItemKind::PushButton;             // push, default push
        case 0x2: case 0x3: case 0x5: case 0x6: return ItemKind::CheckBox;  // check boxes, 3-state
        default: return ItemKind::Other;
        }
    }
    if (cls == "STATIC") {
        switch (style & 0x1F) {
        case 0x4: case 0x5: case 0x6: case 0x7: case 0x8: case 0x9: return ItemKind::Frame;  // rects, frames
        default: return ItemKind::Static;
        }
    }
    return ItemKind::Other;
}

}  // namespace

void DialogManager::build(Dialog &dialog, const DialogTemplate &tmpl) {
    dialog.width = dialogUnitsToPixelsX(tmpl.cx);
    dialog.height = dialogUnitsToPixelsY(tmpl.cy);
    for (const DialogItemTemplate &t : tmpl.items) {
        ADMRect rect{dialogUnitsToPixelsX(t.x), dialogUnitsToPixelsY(t.y), dialogUnitsToPixelsX(t.x + t.cx),
                     dialogUnitsToPixelsY(t.y + t.cy)};
        DialogItem &item = dialog.add(t.id, templateKind(t.windowClass, t.style), t.windowClass, rect);
        item.fromTemplate = true;
        item.text = t.text;
    }
}

ASInt32 DialogManager::modal(SPPluginRef plugin, const char *name, ASInt32 dialogId, ADMDialogInitProc initProc,
                             void *userData) {
    std::vector<DialogAction> script;
    if (!scripts_.empty()) {
        script = std::move(scripts_.front());
        scripts_.pop_front();
    }
    const std::string dialogName = name ? name : "";
    std::optional<DialogTemplate> tmpl;
    if (dialogId >= 0 && dialogId <= 0xFFFF) tmpl = resources_.dialog(uint16_t(dialogId));
    if (!tmpl) {
        problems.push_back(dialogName + ": no dialog template " + std::to_string(dialogId));
        return -1;
    }

    auto dialog = std::make_unique<Dialog>(plugin, dialogName, dialogId, tmpl->title);
    dialog->userData = userData;
    build(*dialog, *tmpl);
    open_.push_back(dialog.get());
    struct PopOnExit {
        std::vector<Dialog *> &open;
        ~PopOnExit() { open.pop_back(); }
    } popOnExit{open_};

    if (initProc && initProc(reinterpret_cast<ADMDialogRef>(dialog.get())) != kNoErr) {
        problems.push_back(dialogName + ": its initialisation failed");
        return -1;
    }

    UiEvent event;
    event.kind = "dialog";
    event.title = dialog->title;
    event.name = dialog->name;
    for (const auto &item : dialog->items()) {
        event.texts.emplace_back(item->id, item->displayText());
        if (item->kind == ItemKind::CheckBox) event.checkBoxes[item->id] = item->checked;
    }
    transcript_.push_back(std::move(event));
    const size_t eventIndex = transcript_.size() - 1;

    if (onOpen) onOpen(*dialog);

    for (const DialogAction &action : script) {
        if (dialog->ended()) {
            problem(*dialog, "actions left after the dialog closed");
            break;
        }
        play(*dialog, action);
    }
    if (!dialog->ended()) {
        // Enter: the default item.
        if (DialogItem *ok = dialog->item(1))
            notify(*ok);
        else
            dialog->end(1);
    }
    if (!dialog->ended()) {
        problem(*dialog, "item 1 did not close the dialog; closed with the close box");
        dialog->end(0);
    }
    transcript_[eventIndex].result = dialog->result();
    return dialog->result();
}

void DialogManager::notify(DialogItem &item) {
    if (item.notifyProc) {
        DialogNotifier notifier{&item, "user changed"};
        item.notifyProc(reinterpret_cast<ADMItemRef>(&item), reinterpret_cast<ADMNotifierRef>(&notifier));
    } else {
        defaultNotify(item);
    }
}

void DialogManager::defaultNotify(DialogItem &item) {
    if (item.kind == ItemKind::PushButton) item.dialog().end(item.id);
}

void DialogManager::problem(const Dialog &dialog, const std::string &what) {
    problems.push_back(dialog.name + ": " + what);
}

void DialogManager::play(Dialog &dialog, const DialogAction &action) {
    if (action.kind == DialogAction::Escape) {
        if (DialogItem *cancel = dialog.item(2))
            notify(*cancel);
        else
            dialog.end(2);
        return;
    }
    if (action.kind == DialogAction::CloseBox) {
        dialog.end(0);
        return;
    }
    DialogItem *item = dialog.item(action.item);
    const std::string which = "item " + std::to_string(action.item);
    if (!item) {
        problem(dialog, which + " does not exist");
        return;
    }
    switch (action.kind) {
    case DialogAction::Type:
        if (item->kind == ItemKind::SpinEdit) {
            if (!item->typeText(action.text)) problem(dialog, which + ": \"" + action.text + "\" is not a number");
        } else if (item->kind == ItemKind::Other) {
            item->text = action.text;
        } else {
            problem(dialog, which + " takes no typing");
            return;
        }
        dialog.activate(*item, true);
        item->textSelected = false;
        break;
    case DialogAction::Check:
    case DialogAction::Uncheck:
        if (item->kind != ItemKind::CheckBox) {
            problem(dialog, which + " is no check box");
            return;
        }
        item->checked = action.kind == DialogAction::Check;
        break;
    case DialogAction::Pick: {
        DialogEntry *entry = item->list() ? item->list()->at(action.entry) : nullptr;
        if (!entry) {
            problem(dialog, which + " has no entry " + std::to_string(action.entry));
            return;
        }
        item->list()->select(entry, true);
        break;
    }
    case DialogAction::Press:
        if (item->kind != ItemKind::PushButton) {
            problem(dialog, which + " is no button");
            return;
        }
        break;
    default:
        return;
    }
    notify(*item);
}

DialogIcon *DialogManager::newIcon(const DialogIcon &icon) {
    icons_.push_back(icon);
    return &icons_.back();
}

bool DialogManager::destroyIcon(DialogIcon *icon) {
    for (auto it = icons_.begin(); it != icons_.end(); ++it) {
        if (&*it == icon) {
            icons_.erase(it);
            return true;
        }
    }
    return false;
}

}  // namespace smear
