// The words of the plug-in's Globals record as the host sees them: names,
// kinds and places, in record order. The host must not include the plug-in's
// headers, so this table is the host's own reading of the record; a test holds
// it against the plug-in's layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace smear {

enum class FieldKind { Float, Integer, Flag, Index, Handle, Pointer };

struct OptionField {
    std::string name;    // "rotateAngle"; multi-word fields as "toolHandles[3]", "LastPoint.v"
    FieldKind kind = FieldKind::Integer;
    int word = 0;        // 0-based position among the record's 143 words
    size_t offset = 0;   // byte offset in this build (handles and pointers are native words)
    int tool = -1;       // ToolId of the section that holds the field; -1 for the brush section
    bool option = false; // an option a dialog edits (not a handle, pointer or stroke state)
    int item = 0;        // id of the options-dialog item that shows it, 0 for none
    double min = 0, max = 0;  // the dialog's limits, for options; for an index: 0 .. entries - 1
};

constexpr int kGlobalsWords = 143;

// The upper limit of the options whose dialog limit depends on the document
// (a graphic style's or a swatch's index): the record takes any of them.
constexpr double kDocumentLimit = 1e9;

// Every word of the record, in order.
const std::vector<OptionField> &globalsFields();
// The total size of the record in this build.
size_t globalsSize();

// An option by its name in the record, in any case; null when there is none.
const OptionField *findOptionField(const std::string &name);

// The names of the options the dialog of tool `tool` (a ToolId) shows: the
// tool's own and the brush options, in record order.
std::vector<std::string> optionNames(int tool);

// Parses `text` as a value for `field` and checks it against the field's
// limits: floats as numbers, flags as 1/0/on/off/true/false, integers and
// indexes as whole numbers, each in decimal digits as the dialog reads
// them. False with a message when it does not fit.
bool parseFieldValue(const OptionField &field, const std::string &text, double &value, std::string &error);

// Reads and writes one option in a Globals block of this build. Writing
// fails, changing nothing, for a value the field cannot hold (beyond a
// float, or not a whole number of 32 bits).
double readField(const void *globals, const OptionField &field);
bool writeField(void *globals, const OptionField &field, double value);

// Whether the record holds `wanted` for `field`: exactly for whole numbers,
// flags and indexes, to single precision for floats.
bool sameFieldValue(const OptionField &field, double stored, double wanted);

// The value as a user would type it: floats with up to two decimals.
std::string formatFieldValue(const OptionField &field, double value);

}  // namespace smear
