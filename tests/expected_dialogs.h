// What every options dialog must hold, typed from the dialog catalogue: the
// tests compare the dialogs the plug-in builds with this, never with the
// plug-in's own tables.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "globals.h"

namespace smear::expected {

enum Kind { Label, FloatField, IntField, CheckBox, Popup, Button };

// Maxima that depend on the document.
constexpr double kStylesMinusOne = -1e9;  // named graphic styles - 1, or 10 when they cannot be counted
constexpr double kSwatchCount = -2e9;     // the number of swatches

using List = std::vector<std::string>;

struct Item {
    int id;
    Kind kind;
    int left, top, right, bottom;
    std::string text;  // labels, check boxes, buttons
    size_t field;      // offset in Globals of a value item
    double low, high;  // number fields
    const List *list;  // popups
};

struct ToolDialog {
    std::string title;
    int focus;
    std::vector<Item> items;  // the tool's own part, in creation order
};

// Tool k's dialog: its own items, the brush section, OK and Cancel.
const ToolDialog &tool(int k);
std::vector<Item> allItems(int k);
const std::vector<Item> &brushSection();

}  // namespace smear::expected
