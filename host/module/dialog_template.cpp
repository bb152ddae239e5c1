// DLGTEMPLATE and DLGTEMPLATEEX, as windres and other resource compilers
// write them.
#include <cctype>

#include "byte_reader.h"
#include "resources.h"

namespace smear {

namespace {

constexpr uint32_t kDsSetFont = 0x40;  // also part of DS_SHELLFONT
constexpr uint16_t kOrdinalMark = 0xFFFF;

// The predefined window classes, by ordinal 0x80..0x85.
const char *const kClassNames[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};

// A string-or-ordinal field: 0 for none, 0xFFFF and a number, or a string.
std::string readNameOrOrdinal(ByteReader &r, bool isClass) {
    uint16_t first = r.u16();
    if (first == 0) return {};
    if (first == kOrdinalMark) {
        uint16_t ordinal = r.u16();
        if (isClass && ordinal >= 0x80 && ordinal <= 0x85) return kClassNames[ordinal - 0x80];
        return "#" + std::to_string(ordinal);
    }
    std::vector<uint16_t> units{first};
    for (uint16_t u = r.u16(); u != 0; u = r.u16()) units.push_back(u);
    std::string name = utf16ToUtf8(units);
    if (isClass) {
        // A predefined class named by text reads the same as by ordinal.
        std::string upper = name;
        for (char &c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
        for (const char *known : kClassNames)
            if (upper == known) return upper;
    }
    return name;
}

void readRect(ByteReader &r, int16_t &x, int16_t &y, int16_t &cx, int16_t &cy) {
    x = r.i16();
    y = r.i16();
    cx = r.i16();
    cy = r.i16();
}

void readItems(ByteReader &r, uint16_t count, bool extended, DialogTemplate &out) {
    out.items.reserve(count);
    for (uint16_t i = 0; i < count; ++i) {
        r.alignTo4();
        DialogItemTemplate item;
        if (extended) {
            r.u32();  // help id
            r.u32();  // extended style
            item.style = r.u32();
            readRect(r, item.x, item.y, item.cx, item.cy);
            item.id = uint16_t(r.u32());
        } else {
            item.style = r.u32();
            r.u32();  // extended style
            readRect(r, item.x, item.y, item.cx, item.cy);
            item.id = r.u16();
        }
        item.windowClass = readNameOrOrdinal(r, true);
        item.text = readNameOrOrdinal(r, false);
        r.skip(r.u16());  // creation data
        out.items.push_back(std::move(item));
    }
}

}  // namespace

bool parseDialogTemplate(const std::vector<uint8_t> &bytes, DialogTemplate &out, std::string &error) {
    try {
        ByteReader r(bytes, "dialog template");
        DialogTemplate dialog;
        bool extended = bytes.size() >= 4 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF;
        uint16_t count = 0;
        if (extended) {
            r.skip(4);  // version 1, signature 0xFFFF
            r.u32();    // help id
            r.u32();    // extended style
            dialog.style = r.u32();
        } else {
            dialog.style = r.u32();
            r.u32();  // extended style
        }
        count = r.u16();
        readRect(r, dialog.x, dialog.y, dialog.cx, dialog.cy);
        readNameOrOrdinal(r, false);  // menu
        readNameOrOrdinal(r, true);   // window class
        dialog.title = r.utf16z();
        if ((dialog.style & kDsSetFont) != 0) {
            dialog.fontSize = r.u16();
            if (extended) r.skip(4);  // weight, italic, character set
            dialog.fontName = r.utf16z();
        }
        readItems(r, count, extended, dialog);
        out = std::move(dialog);
        return true;
    } catch (const FormatError &e) {
        error = e.what();
        return false;
    }
}

}  // namespace smear
