#include "option_catalogue.h"

#include <algorithm>

#include "dialog_manager.h"
#include "tool_names.h"

namespace smear {

namespace {

bool overlapVertically(const ADMRect &a, const ADMRect &b) { return a.top < b.bottom && b.top < a.bottom; }

// The label a user reads for a field: a check box says it itself; other
// fields have a static text on their left on the same row.
std::string labelOf(const Dialog &dialog, const DialogItem &field) {
    if (field.kind == ItemKind::CheckBox) return field.text;
    const DialogItem *best = nullptr;
    for (const auto &item : dialog.items()) {
        if (item->kind != ItemKind::Static || item->rect.right > field.rect.left ||
            !overlapVertically(item->rect, field.rect))
            continue;
        if (!best || item->rect.right > best->rect.right) best = item.get();
    }
    return best ? best->text : std::string();
}

std::string quoted(const std::string &s) { return "\"" + s + "\""; }

std::string trimmed(const std::string &s) {
    const size_t begin = s.find_first_not_of(' ');
    return begin == std::string::npos ? std::string() : s.substr(begin, s.find_last_not_of(' ') - begin + 1);
}

void printOne(std::ostream &out, const OptionDescription &o) {
    const OptionField &f = *o.field;
    out << "  " << f.name << ": ";
    // A popup's entries say what it is; a field without a label says so.
    if (!o.label.empty()) out << quoted(o.label) << ", ";
    else if (f.kind != FieldKind::Index) out << "(no label), ";
    switch (f.kind) {
    case FieldKind::Flag: out << "check box; default " << (o.defaultValue != 0 ? "on" : "off") << "\n"; return;
    case FieldKind::Index:
        out << "popup of " << o.entries.size() << " entries; default " << formatFieldValue(f, o.defaultValue) << "\n";
        for (size_t i = 0; i < o.entries.size(); ++i) out << "      " << i << " " << quoted(o.entries[i]) << "\n";
        return;
    default:
        out << (f.kind == FieldKind::Float ? "number" : "whole number") << " from " << formatFieldValue(f, o.min);
        // The record takes any index; the dialog holds it to the drawing's list.
        if (f.max >= kDocumentLimit)
            out << " to the number of the drawing's last "
                << (f.name.find("style") != std::string::npos ? "graphic style" : "swatch");
        else out << " to " << formatFieldValue(f, o.max);
        if (f.kind == FieldKind::Float) out << " (" << o.decimals << " decimals)";
        out << "; default " << formatFieldValue(f, o.defaultValue) << "\n";
    }
}

}  // namespace

bool withPluginGlobals(Host &host, const std::function<void(void *)> &use) {
    host.sendBasic(kSPAccessCaller, kSPAccessUnloadSelector);
    void *globals = host.pluginGlobals;
    if (globals != nullptr) use(globals);
    host.sendBasic(kSPAccessCaller, kSPAccessReloadSelector);
    return globals != nullptr;
}

bool describeToolOptions(Host &host, int paletteIndex, std::vector<OptionDescription> &out, std::string &error) {
    out.clear();
    const int toolId = toolIdOf(host.palette, paletteIndex);
    bool opened = false;
    auto previous = host.dialogs->onOpen;
    host.dialogs->onOpen = [&](Dialog &dialog) {
        if (opened) return;
        opened = true;
        for (const OptionField &f : globalsFields()) {
            if (!f.option || (f.tool != -1 && f.tool != toolId)) continue;
            const DialogItem *item = dialog.item(f.item);
            if (!item) continue;
            OptionDescription d;
            d.field = &f;
            d.label = trimmed(labelOf(dialog, *item));
            d.min = item->lowLimit();
            d.max = item->highLimit();
            d.decimals = item->precision;
            if (item->list())
                for (ASInt32 i = 0; i < item->list()->size(); ++i) d.entries.push_back(item->list()->at(i)->text);
            out.push_back(d);
        }
    };
    host.dialogs->queue({DialogAction::escape()});
    host.sendTool(kAIToolEditOptionsSelector, toolHandle(host, toolId), AIRealPoint{0, 0}, 255, 0);
    host.dialogs->onOpen = previous;
    host.dialogs->clearScripts();
    if (!opened) {
        error = "the plug-in opened no options dialog";
        return false;
    }
    // Tool options first, then the brush options, each in record order.
    std::stable_partition(out.begin(), out.end(), [](const OptionDescription &d) { return d.field->tool != -1; });
    const bool read = withPluginGlobals(host, [&](void *globals) {
        for (OptionDescription &d : out) d.defaultValue = readField(globals, *d.field);
    });
    if (!read) error = "the plug-in gave no options record to read";
    return read;
}

void printToolOptions(std::ostream &out, const std::string &toolTitle, const std::vector<OptionDescription> &options) {
    out << "options of " << toolTitle << " (--set NAME=VALUE; names in any case)\n";
    bool brush = false;
    for (const OptionDescription &o : options) {
        if (o.field->tool == -1 && !brush) {
            brush = true;
            out << "brush options, shared by every tool:\n";
        }
        printOne(out, o);
    }
}

}  // namespace smear
