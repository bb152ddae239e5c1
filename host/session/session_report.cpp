#include "session_report.h"
#include "adm_handles.h"
#include "dialog_manager.h"

#include <cstdio>
#include <map>
#include <ostream>

namespace smear {

std::string formatCode(SPErr code) {
    const uint32_t u = uint32_t(code);
    const uint32_t high = u >> 16;
    if (high == 0 || high == 0xFFFF) return std::to_string(code);
    std::string s = "'";
    for (int shift = 24; shift >= 0; shift -= 8) {
        const unsigned char c = (u >> shift) & 0xFF;
        if (c >= 0x20 && c < 0x7F) {
            s += char(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", unsigned(c));
            s += hex;
        }
    }
    return s + "'";
}

std::string quoted(const std::string &text) {
    std::string s = "\"";
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            s += '\\';
            s += ch;
        } else if (c == '\n') {
            s += "\\n";
        } else if (c == '\r') {
            s += "\\r";
        } else if (c == '\t') {
            s += "\\t";
        } else if (c < 0x20) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", unsigned(c));
            s += hex;
        } else {
            s += ch;
        }
    }
    return s + "\"";
}

void printPalette(std::ostream &out, const std::deque<PaletteTool> &palette) {
    // Groups in the order their first tool appears, tools in palette order.
    std::vector<ASInt16> groups;
    std::map<ASInt16, const PaletteTool *> opener;
    for (const PaletteTool &t : palette) {
        if (opener.count(t.groupNumber) == 0) groups.push_back(t.groupNumber);
        if (t.number == t.groupNumber || opener.count(t.groupNumber) == 0) opener[t.groupNumber] = &t;
    }
    out << palette.size() << " tools in " << groups.size() << (groups.size() == 1 ? " group" : " groups") << "\n";
    for (ASInt16 group : groups) {
        size_t count = 0;
        for (const PaletteTool &t : palette) count += t.groupNumber == group;
        out << "group " << quoted(opener[group]->title) << ": " << count << " tools\n";
        size_t position = 0;
        for (const PaletteTool &t : palette) {
            if (t.groupNumber != group) continue;
            out << "  " << position++ << " " << quoted(t.title) << "\n";
            out << "      tooltip " << quoted(t.tooltip) << "\n";
            const DialogIcon *icon = t.icon ? toIcon(t.icon) : nullptr;
            out << "      icon " << (icon ? std::to_string(icon->resourceId) : std::string("none"));
            if (icon) out << " (" << icon->width << "x" << icon->height << ")";
            if (t.toolsetNumber != group) out << ", toolset of tool " << t.toolsetNumber;
            out << "\n";
        }
    }
}

void printUiEvent(std::ostream &out, const UiEvent &event, const std::string &indent) {
    if (event.kind == "alert") {
        out << indent << "alert " << quoted(event.title) << "\n";
        return;
    }
    out << indent << event.kind << " " << quoted(event.title);
    if (!event.name.empty()) out << " [" << event.name << "]";
    out << ", closed by item " << event.result << "\n";
    for (const auto &item : event.texts) {
        if (item.second.empty()) continue;
        auto box = event.checkBoxes.find(item.first);
        const char *state = box == event.checkBoxes.end() ? "" : box->second ? "[x] " : "[ ] ";
        out << indent << "  " << item.first << " " << state << quoted(item.second) << "\n";
    }
}

}  // namespace smear
