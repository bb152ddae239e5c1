#include "option_fields.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sstream>

namespace smear {

namespace {

using K = FieldKind;

// One row of the record as its field list gives it. A count above 1 is an
// array (the tool handles) or a point (two floats, horizontal then vertical).
struct Row {
    const char *name;
    K kind;
    int item = 0;  // the id of the dialog item that shows it
    double min = 0, max = 0;
    int count = 1;
    bool option = true;
};


struct Section {
    int tool;  // -1: brush section, -2: not an option section
    std::vector<Row> rows;
};

Row state(const char *name, K kind, int count = 1) { return Row{name, kind, 0, 0, 0, count, false}; }
Row index(const char *name, int item, int entries) { return Row{name, K::Index, item, 0, double(entries - 1)}; }
Row flag(const char *name, int item) { return Row{name, K::Flag, item, 0, 1}; }
Row real(const char *name, int item, double min, double max) { return Row{name, K::Float, item, min, max}; }
Row whole(const char *name, int item, double min, double max) { return Row{name, K::Integer, item, min, max}; }

const std::vector<Section> &sections() {
    static const std::vector<Section> all = {
        {-2, {state("toolHandles", K::Handle, 19)}},
        {-1,
         {index("brushShape", 195, 17), state("OutlineArt", K::Handle), real("brushSizeHorizontal", 191, 0.01, 2000),
          real("brushSizeVertical", 192, 0.01, 2000), flag("showOutline", 190), flag("pressureModification", 193),
          flag("sizeFromPressure", 196), flag("trailOnNewLayer", 198), flag("trailCursor", 197), state("LastPoint", K::Float, 2),
          state("ShifterStrokeFactor", K::Float), state("WarpStrokeFactor", K::Float),
          state("SlowdownCount", K::Integer), whole("brushSlowdown", 194, 0, 200)}},
        {0,
         {real("scaleHorizontal", 3, -2000, 2000), real("scaleVertical", 4, -2000, 2000), real("scaleMinWidth", 5, 0, 30000),
          real("scaleMinHeight", 6, 0, 30000), real("scaleMaxWidth", 7, 0, 30000), real("scaleMaxHeight", 8, 0, 30000),
          index("scaleLimitMode", 9, 3), flag("scaleSelectedCenter", 10), flag("scaleRandom", 11), flag("scaleApplyRandom", 12)}},
        {1,
         {real("translateHorizontal", 20, -2000, 2000), real("translateVertical", 21, -2000, 2000),
          flag("translateBasedOnFill", 25), flag("translateApplyRandom", 24), flag("translateFollowBrush", 23),
          flag("translateRandom", 22)}},
        {2, {real("rotateAngle", 30, -360, 360), flag("rotateBasedOnFill", 33), flag("rotateSelectedCenter", 31), flag("rotateRandom", 32)}},
        {3, {real("transparencyAmount", 40, -100, 100), index("transparencyMode", 41, 6)}},
        {4, {real("strokeWeightAmount", 50, -2000, 2000), index("strokeWeightMode", 51, 6)}},
        {5,
         {real("fillIntensityAmount", 60, -2000, 2000), index("fillIntensityMode", 61, 6), flag("fillIntensityApplyToFill", 63),
          flag("fillIntensityApplyToStroke", 64), flag("fillIntensityApplyRandom", 62)}},
        {6,
         {real("fillChannel1", 70, -2000, 2000), real("fillChannel2", 71, -2000, 2000), real("fillChannel3", 72, -2000, 2000),
          real("fillChannel4", 73, -2000, 2000), index("fillChannelsMode", 74, 6), index("fillChannelsLink", 75, 29),
          flag("fillChannelsApplyToFill", 78), flag("fillChannelsApplyToStroke", 79), flag("fillChannelsCreateSwatch", 76),
          flag("fillChannelsApplyRandom", 77)}},
        // The style and swatch limits depend on the document; the dialog
        // narrows them, the record takes any whole number.
        {7, {whole("styleIndex", 80, 0, kDocumentLimit), real("styleFactor", 81, -1000, 1000), index("styleMode", 82, 5),
             index("styleFactorMode", 83, 8)}},
        {8, {index("blendMode", 90, 20)}},
        {9,
         {real("colorReducerAmount", 100, -100, 100), flag("colorReducerCreateSwatch", 101), flag("colorReducerApplyToFill", 102),
          flag("colorReducerApplyToStroke", 103)}},
        {10,
         {real("cornerOutHorizontal", 110, -200, 200), real("cornerOutVertical", 111, -200, 200),
          real("cornerInHorizontal", 112, -200, 200), real("cornerInVertical", 113, -200, 200), flag("cornerRandom", 114),
          index("cornerApplyMode", 115, 3)}},
        {11,
         {whole("swatchIndex", 120, 0, kDocumentLimit), flag("swatchRandom", 121), flag("swatchApplyToFill", 122),
          flag("swatchApplyToStroke", 123), whole("swatchJitter", 124, -10, 10), whole("swatchIgnoreRandom", 125, 0, kDocumentLimit)}},
        {12, {real("tintAmount", 130, -500, 500), index("tintMode", 131, 6), flag("tintApplyToFill", 132), flag("tintApplyToStroke", 133)}},
        {13,
         {real("gradientAngle", 140, -360, 360), real("gradientLength", 141, -1000, 1000), real("gradientHiliteAngle", 144, -360, 360),
          real("gradientHiliteLength", 145, -100, 100), index("gradientAngleMode", 142, 7), index("gradientLengthMode", 143, 7),
          index("gradientHiliteAngleMode", 146, 7), index("gradientHiliteLengthMode", 147, 7)}},
        {14,
         {real("patternAngle", 150, -360, 360), real("patternScaleHorizontal", 151, -1000, 1000),
          real("patternScaleVertical", 152, -1000, 1000), index("patternAngleMode", 153, 7),
          index("patternScaleHorizontalMode", 154, 8), index("patternScaleVerticalMode", 155, 8)}},
        {16,
         {real("pointShiftHorizontal", 160, -300, 300), real("pointShiftVertical", 161, -300, 300),
          real("pointShifterFactor", 162, 0.01, 600), flag("pointShifterFillFactor", 167), flag("pointShifterRandom", 163),
          flag("pointShifterFollowBrush", 164), flag("pointShifterApplyRandom", 165), flag("pointShifterDirectionPoints", 166)}},
        {17,
         {real("meshColorChannel1", 168, -2000, 2000), real("meshColorChannel2", 169, -2000, 2000),
          real("meshColorChannel3", 170, -2000, 2000), real("meshColorChannel4", 171, -2000, 2000), index("meshColorMode", 172, 6),
          index("meshColorLink", 173, 29), index("meshPattern", 174, 9)}},
        {18,
         {real("warpShiftHorizontal", 180, -300, 300), real("warpShiftVertical", 181, -300, 300),
          real("warpMeshFactor", 182, 0.01, 600), flag("warpMeshRandom", 183), flag("warpMeshFollowBrush", 184),
          flag("warpMeshApplyRandom", 185), index("warpMeshPattern", 186, 9)}},
        {-2,
         {state("ArtList", K::Handle), state("ArtCount", K::Integer), state("SelectionCenter", K::Float, 2),
          state("DownPoint", K::Float, 2), state("CurrentPoint", K::Float, 2), state("basicSuite", K::Pointer)}},
    };
    return all;
}

size_t sizeOf(K kind) { return kind == K::Handle || kind == K::Pointer ? sizeof(void *) : 4; }

struct Layout {
    std::vector<OptionField> fields;
    size_t size = 0;
};

// Natural alignment, as the compiler lays out a struct of these words.
Layout buildLayout() {
    Layout layout;
    size_t offset = 0, maxAlign = 4;
    int word = 0;
    for (const Section &section : sections()) {
        for (const Row &row : section.rows) {
            for (int i = 0; i < row.count; ++i) {
                OptionField f;
                f.name = row.name;
                if (row.count == 2 && row.kind == K::Float) f.name += i == 0 ? ".h" : ".v";
                else if (row.count > 1) f.name += "[" + std::to_string(i) + "]";
                f.kind = row.kind;
                const size_t size = sizeOf(row.kind);
                maxAlign = std::max(maxAlign, size);
                offset = (offset + size - 1) / size * size;
                f.offset = offset;
                f.word = word++;
                f.tool = section.tool < 0 ? -1 : section.tool;
                f.option = row.option;
                f.item = row.item;
                f.min = row.min;
                f.max = row.max;
                offset += size;
                layout.fields.push_back(f);
            }
        }
    }
    layout.size = (offset + maxAlign - 1) / maxAlign * maxAlign;
    return layout;
}

const Layout &layout() {
    static const Layout l = buildLayout();
    return l;
}

std::string lower(std::string s) {
    for (char &c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// What the options dialog's number fields read: blanks around an optional
// sign and decimal digits with at most one point.
bool plainDecimal(const std::string &text) {
    size_t i = text.find_first_not_of(" \t");
    const size_t end = text.find_last_not_of(" \t");
    if (i == std::string::npos) return false;
    if (text[i] == '+' || text[i] == '-') ++i;
    size_t digits = 0, points = 0;
    for (; i <= end; ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) ++digits;
        else if (text[i] == '.') ++points;
        else return false;
    }
    return digits > 0 && points <= 1;
}

std::string formatLimit(double v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

}  // namespace

const std::vector<OptionField> &globalsFields() { return layout().fields; }
size_t globalsSize() { return layout().size; }

const OptionField *findOptionField(const std::string &name) {
    const std::string wanted = lower(name);
    for (const OptionField &f : globalsFields())
        if (f.option && lower(f.name) == wanted) return &f;
    return nullptr;
}

std::vector<std::string> optionNames(int tool) {
    std::vector<std::string> names;
    for (const OptionField &f : globalsFields())
        if (f.option && (f.tool == -1 || f.tool == tool)) names.push_back(f.name);
    return names;
}

bool parseFieldValue(const OptionField &field, const std::string &text, double &value, std::string &error) {
    const std::string t = lower(text);
    if (field.kind == K::Flag) {
        if (t == "1" || t == "on" || t == "true" || t == "yes") value = 1;
        else if (t == "0" || t == "off" || t == "false" || t == "no") value = 0;
        else {
            error = field.name + " is a check box: give 1 or 0 (on/off), not '" + text + "'";
            return false;
        }
        return true;
    }
    if (text.empty()) {
        error = field.name + " needs a value";
        return false;
    }
    const char *begin = text.c_str();
    char *end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    if (end == begin || *end != '\0' || errno == ERANGE || !std::isfinite(v)) {
        error = field.name + " needs a number, not '" + text + "'";
        return false;
    }
    if (!plainDecimal(text)) {
        error = field.name + " needs a number in decimal digits (such as 100 or 2.5), not '" + text +
                "': the options dialog reads no exponents, hexadecimal or words";
        return false;
    }
    if (field.kind != K::Float && v != std::trunc(v)) {
        error = field.name + " needs a whole number, not '" + text + "'";
        return false;
    }
    if (v < field.min || v > field.max) {
        if (field.kind == K::Index)
            error = field.name + " is a popup with entries 0 to " + formatLimit(field.max) + "; " + text +
                    " is not one of them";
        else
            error = field.name + " must lie between " + formatLimit(field.min) + " and " + formatLimit(field.max) +
                    ", not " + text;
        return false;
    }
    value = v;
    return true;
}

bool sameFieldValue(const OptionField &field, double stored, double wanted) {
    if (field.kind == K::Flag) return (stored != 0) == (wanted != 0);
    if (field.kind != K::Float) return stored == wanted;
    return std::fabs(stored - wanted) <= 1e-6 * std::max(1.0, std::fabs(wanted));
}

double readField(const void *globals, const OptionField &field) {
    const unsigned char *p = static_cast<const unsigned char *>(globals) + field.offset;
    if (field.kind == K::Float) {
        float f;
        std::memcpy(&f, p, sizeof f);
        return f;
    }
    int32_t i;
    std::memcpy(&i, p, sizeof i);
    return i;
}

bool writeField(void *globals, const OptionField &field, double value) {
    unsigned char *p = static_cast<unsigned char *>(globals) + field.offset;
    if (field.kind == K::Float) {
        if (!(std::fabs(value) <= double(std::numeric_limits<float>::max()))) return false;
        const float f = float(value);
        std::memcpy(p, &f, sizeof f);
    } else {
        if (!(value >= double(INT32_MIN) && value <= double(INT32_MAX)) || value != std::trunc(value)) return false;
        const int32_t i = int32_t(value);
        std::memcpy(p, &i, sizeof i);
    }
    return true;
}

std::string formatFieldValue(const OptionField &field, double value) {
    // What the plug-in left in its record may be anything a float holds.
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    if (std::fabs(value) >= 1e15) {
        // Past what hundredths count in a long long, and past any option's limits.
        std::ostringstream out;
        out << value;
        return out.str();
    }
    if (field.kind != K::Float) return std::to_string(int64_t(value));
    // Two decimals, as the dialog edits them, without trailing zeros.
    const long long hundredths = std::llround(value * 100.0);
    std::string s = std::to_string(std::llabs(hundredths) / 100);
    const long long frac = std::llabs(hundredths) % 100;
    if (frac != 0) {
        s += '.';
        s += char('0' + frac / 10);
        if (frac % 10 != 0) s += char('0' + frac % 10);
    }
    return hundredths < 0 ? "-" + s : s;
}

}  // namespace smear
