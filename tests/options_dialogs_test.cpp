// The options dialogs: what each shows when it opens, what OK writes back,
// that everything else (Cancel, Escape, the close box) writes nothing, and the
// host calls with which the dialogs are built and read.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

#include "dialog_manager.h"
#include "expected_dialogs.h"
#include "fixture.h"

namespace smear {
namespace {

namespace ex = expected;

// The state of one item as the user first sees it.
struct ItemShot {
    int id = 0;
    ItemKind kind = ItemKind::Other;
    ADMRect rect{};
    std::string text;
    std::string shown;
    double value = 0, low = 0, high = 0;
    int precision = 0;
    bool checked = false;
    std::vector<std::pair<int, std::string>> entries;  // number, text
    int active = -1;
    bool focus = false, selected = false;
};

struct DialogShot {
    std::string name, title;
    int resourceId = 0, width = 0, height = 0;
    std::vector<ItemShot> items;
    const ItemShot *find(int id) const {
        for (const ItemShot &i : items)
            if (i.id == id && i.kind != ItemKind::Static) return &i;
        return nullptr;
    }
};

DialogShot snapshot(const Dialog &d) {
    DialogShot shot{d.name, d.title, d.resourceId, d.width, d.height, {}};
    for (const auto &item : d.items()) {
        ItemShot s;
        s.id = item->id;
        s.kind = item->kind;
        s.rect = item->rect;
        s.text = item->text;
        s.shown = item->displayText();
        s.value = item->value;
        s.low = item->lowLimit();
        s.high = item->highLimit();
        s.precision = item->precision;
        s.checked = item->checked;
        if (DialogList *list = item->list()) {
            for (ASInt32 i = 0; i < list->size(); ++i) s.entries.emplace_back(list->at(i)->id, list->at(i)->text);
            s.active = list->activeIndex();
        }
        s.focus = item->active;
        s.selected = item->textSelected;
        shot.items.push_back(std::move(s));
    }
    return shot;
}

ItemKind kindOf(ex::Kind k) {
    switch (k) {
    case ex::Label: return ItemKind::Static;
    case ex::FloatField:
    case ex::IntField: return ItemKind::SpinEdit;
    case ex::CheckBox: return ItemKind::CheckBox;
    case ex::Popup: return ItemKind::Popup;
    case ex::Button: return ItemKind::PushButton;
    }
    return ItemKind::Other;
}

bool isValueItem(const ex::Item &item) { return item.kind != ex::Label && item.kind != ex::Button; }

class OptionsDialogTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        ASSERT_EQ(startup(), kNoErr);
    }

    // Opens tool k's dialog, plays `actions` and returns the handler's result;
    // `shot` holds the dialog as it opened.
    SPErr open(int k, std::vector<DialogAction> actions = {}) {
        host.dialogs->queue(std::move(actions));
        host.dialogs->onOpen = [this](Dialog &d) { shot = snapshot(d); };
        shot = DialogShot{};
        SPErr result = host.sendTool("AI Edit Options", tool(k), {0, 0}, 0, 0);
        host.dialogs->onOpen = nullptr;
        return result;
    }

    float &real(size_t offset) { return *reinterpret_cast<float *>(reinterpret_cast<char *>(gGlobals) + offset); }
    int32_t &word(size_t offset) { return *reinterpret_cast<int32_t *>(reinterpret_cast<char *>(gGlobals) + offset); }

    double highOf(const ex::Item &item) {
        if (item.high == ex::kStylesMinusOne) return double(host.document().graphicStyles.size()) - 1;
        if (item.high == ex::kSwatchCount) return double(host.document().swatches.size());
        return item.high;
    }

    // An action that changes `item` to another value within its limits, and
    // writes that value into `after` (a copy of the record) where OK must put it.
    DialogAction change(const ex::Item &item, Globals &after) {
        char *slot = reinterpret_cast<char *>(&after) + item.field;
        switch (item.kind) {
        case ex::FloatField: {
            const float now = real(item.field);
            double v = std::round((item.low + (highOf(item) - item.low) * 0.37) * 100) / 100;
            if (float(v) == now) v = item.low;
            char text[32];
            std::snprintf(text, sizeof text, "%.2f", v);
            const float stored = float(std::strtod(text, nullptr));
            std::memcpy(slot, &stored, sizeof stored);
            return DialogAction::type(item.id, text);
        }
        case ex::IntField: {
            const int32_t v = word(item.field) == int32_t(highOf(item)) ? int32_t(item.low) : int32_t(highOf(item));
            std::memcpy(slot, &v, sizeof v);
            return DialogAction::type(item.id, std::to_string(v));
        }
        case ex::CheckBox: {
            const int32_t v = word(item.field) ? 0 : 1;
            std::memcpy(slot, &v, sizeof v);
            return DialogAction::check(item.id, v != 0);
        }
        case ex::Popup: {
            const int32_t v = (word(item.field) + 1) % int32_t(item.list->size());
            std::memcpy(slot, &v, sizeof v);
            return DialogAction::pick(item.id, v);
        }
        default:
            break;
        }
        ADD_FAILURE() << "no change for item " << item.id;
        return DialogAction::escape();
    }

    std::vector<DialogAction> changeEverything(int k, Globals &after) {
        std::vector<DialogAction> actions;
        for (const ex::Item &item : ex::allItems(k))
            if (isValueItem(item)) actions.push_back(change(item, after));
        return actions;
    }

    // Field words that differ between two records, by offset.
    static std::vector<size_t> differences(const Globals &a, const Globals &b) {
        std::vector<size_t> out;
        for (size_t at = 0; at + 4 <= sizeof(Globals); at += 4)
            if (std::memcmp(reinterpret_cast<const char *>(&a) + at, reinterpret_cast<const char *>(&b) + at, 4) != 0)
                out.push_back(at);
        return out;
    }

    int dialogsShown() const {
        int n = 0;
        for (const UiEvent &e : host.transcript) n += e.kind == "dialog" ? 1 : 0;
        return n;
    }

    DialogShot shot;
};

// Every dialog holds the catalogue's items in its order: ids, kinds,
// rectangles, texts, limits, decimals, popup entries, then the brush
// section and the two buttons; one item has the focus, its text selected.
TEST_F(OptionsDialogTest, EveryDialogHoldsTheCatalogueItemsInCreationOrder) {
    for (int k = 0; k < kToolCount; ++k) {
        SCOPED_TRACE("tool " + std::to_string(k));
        open(k);
        const ex::ToolDialog &want = ex::tool(k);
        EXPECT_EQ(shot.name, "Tool Dialog " + std::to_string(k));
        EXPECT_EQ(shot.resourceId, 16101 + 2 * k);
        EXPECT_EQ(shot.title, want.title);
        EXPECT_EQ(shot.width, 260);
        EXPECT_EQ(shot.height, 500);
        const std::vector<ex::Item> items = ex::allItems(k);
        ASSERT_EQ(shot.items.size(), items.size());
        for (size_t i = 0; i < items.size(); ++i) {
            const ex::Item &e = items[i];
            const ItemShot &s = shot.items[i];
            SCOPED_TRACE("item " + std::to_string(e.id));
            EXPECT_EQ(s.id, e.id);
            EXPECT_EQ(s.kind, kindOf(e.kind));
            EXPECT_EQ(s.rect.left, e.left);
            EXPECT_EQ(s.rect.top, e.top);
            EXPECT_EQ(s.rect.right, e.right);
            EXPECT_EQ(s.rect.bottom, e.bottom);
            if (e.kind == ex::Label || e.kind == ex::CheckBox || e.kind == ex::Button) {
                EXPECT_EQ(s.text, e.text);
            }
            if (e.kind == ex::FloatField || e.kind == ex::IntField) {
                EXPECT_FLOAT_EQ(float(s.low), float(e.low));
                EXPECT_FLOAT_EQ(float(s.high), float(std::max(e.low, highOf(e))));
                EXPECT_EQ(s.precision, e.kind == ex::FloatField ? 2 : 0);
            }
            if (e.kind == ex::Popup) {
                ASSERT_EQ(s.entries.size(), e.list->size());
                for (size_t n = 0; n < s.entries.size(); ++n) {
                    EXPECT_EQ(s.entries[n].first, int(n));
                    EXPECT_EQ(s.entries[n].second, (*e.list)[n]);
                }
            }
            EXPECT_EQ(s.focus, e.id == want.focus && e.kind != ex::Label) << "focus";
            EXPECT_EQ(s.selected, s.focus);
        }
    }
}

TEST_F(OptionsDialogTest, DialogsShowTheCurrentValuesOfTheirFields) {
    for (int k = 0; k < kToolCount; ++k) {
        SCOPED_TRACE("tool " + std::to_string(k));
        open(k);
        for (const ex::Item &e : ex::allItems(k)) {
            if (!isValueItem(e)) continue;
            const ItemShot *s = shot.find(e.id);
            ASSERT_NE(s, nullptr) << e.id;
            switch (e.kind) {
            case ex::FloatField: {
                EXPECT_EQ(float(s->value), real(e.field)) << e.id;
                char text[32];
                std::snprintf(text, sizeof text, "%.2f", double(real(e.field)));
                EXPECT_EQ(s->shown, text) << e.id;
                break;
            }
            case ex::IntField:
                // Defaults beyond an empty document's counts show clamped.
                EXPECT_EQ(s->value, std::clamp<double>(word(e.field), e.low, std::max(e.low, highOf(e)))) << e.id;
                break;
            case ex::CheckBox: EXPECT_EQ(s->checked, word(e.field) != 0) << e.id; break;
            case ex::Popup:
                EXPECT_EQ(s->active, word(e.field)) << e.id;
                EXPECT_EQ(s->shown, (*e.list)[size_t(word(e.field))]) << e.id;
                break;
            default: break;
            }
        }
    }
}

TEST_F(OptionsDialogTest, OkWritesEveryValueItemOfTheToolAndTheBrushSection) {
    // Counts for the two dialogs whose maxima come from the document.
    for (int i = 0; i < 5; ++i) host.document().addGraphicStyle("style " + std::to_string(i), AIPathStyle{});
    for (int i = 0; i < 12; ++i) host.document().addSwatch("swatch " + std::to_string(i), AIColor{});
    for (int k = 0; k < kToolCount; ++k) {
        SCOPED_TRACE("tool " + std::to_string(k));
        Globals after = g();
        std::vector<DialogAction> actions = changeEverything(k, after);
        actions.push_back(DialogAction::press(1));
        EXPECT_EQ(open(k, actions), kNoErr);
        EXPECT_TRUE(host.dialogs->problems.empty()) << host.dialogs->problems.front();
        EXPECT_TRUE(differences(g(), after).empty()) << "first differing word at " << differences(g(), after).front();
    }
}

TEST_F(OptionsDialogTest, AnythingButOkWritesNothingAndStopsSilently) {
    const std::vector<DialogAction> endings = {DialogAction::press(2), DialogAction::escape(), DialogAction::closeBox()};
    for (int k = 0; k < kToolCount; ++k) {
        for (const DialogAction &ending : endings) {
            SCOPED_TRACE("tool " + std::to_string(k) + " ending " + std::to_string(int(ending.kind)));
            const Globals before = g();
            Globals changed = g();
            std::vector<DialogAction> actions = changeEverything(k, changed);
            ASSERT_FALSE(differences(before, changed).empty());
            actions.push_back(ending);
            host.transcript.clear();
            EXPECT_EQ(open(k, actions), kStopErr);
            EXPECT_TRUE(differences(g(), before).empty());
            // The dialog itself, and no error dialog after it.
            EXPECT_EQ(host.transcript.size(), 1u);
            EXPECT_NE(host.transcript.front().result, 1);
        }
    }
}

TEST_F(OptionsDialogTest, OkWithoutChangesKeepsEveryInRangeValue) {
    // Distinct in-range values everywhere, so a field read into the wrong
    // place or not written at all shows.
    uint32_t state = 12345;
    auto next = [&state] { return state = state * 1103515245u + 12345u, (state >> 8) & 0xFFFF; };
    for (int k = 0; k < kToolCount; ++k) {
        for (const ex::Item &e : ex::allItems(k)) {
            if (e.kind == ex::FloatField) real(e.field) = float(e.low + (highOf(e) - e.low) * (next() % 1000) / 1000.0);
            if (e.kind == ex::IntField) word(e.field) = int32_t(e.low) + int32_t(next() % uint32_t(std::max(1.0, highOf(e) - e.low + 1)));
            if (e.kind == ex::CheckBox) word(e.field) = int32_t(next() % 2);
            if (e.kind == ex::Popup) word(e.field) = int32_t(next() % e.list->size());
        }
    }
    for (int k = 0; k < kToolCount; ++k) {
        SCOPED_TRACE("tool " + std::to_string(k));
        const Globals before = g();
        EXPECT_EQ(open(k), kNoErr);  // no actions: the user presses Enter
        EXPECT_TRUE(differences(g(), before).empty());
    }
}

TEST_F(OptionsDialogTest, OutOfRangeValuesComeBackClampedToTheItemsLimits) {
    g().brushSlowdown = 500;
    g().brushSizeHorizontal = 0.0f;
    g().rotateAngle = -400.0f;
    EXPECT_EQ(open(kRotateTool), kNoErr);
    EXPECT_EQ(shot.find(30)->shown, "-360.00");
    EXPECT_EQ(g().brushSlowdown, 200);
    EXPECT_FLOAT_EQ(g().brushSizeHorizontal, 0.01f);
    EXPECT_FLOAT_EQ(g().rotateAngle, -360.0f);
}

TEST_F(OptionsDialogTest, TypedNumbersAreClampedRoundedOrIgnored) {
    EXPECT_EQ(open(kRotateTool, {DialogAction::type(30, "999"), DialogAction::type(191, "12.345"),
                                 DialogAction::type(192, "abc"), DialogAction::type(194, "7.6"),
                                 DialogAction::press(1)}),
              kNoErr);
    EXPECT_FLOAT_EQ(g().rotateAngle, 360.0f);
    EXPECT_FLOAT_EQ(g().brushSizeHorizontal, 12.35f);
    EXPECT_FLOAT_EQ(g().brushSizeVertical, 50.0f);  // not a number: the value stays
    EXPECT_EQ(g().brushSlowdown, 8);
    ASSERT_EQ(host.dialogs->problems.size(), 1u);
}

TEST_F(OptionsDialogTest, BrushOptionsChangedInOneDialogShowInEveryOther) {
    Globals after = g();
    std::vector<DialogAction> actions;
    for (const ex::Item &e : ex::brushSection())
        if (isValueItem(e)) actions.push_back(change(e, after));
    actions.push_back(DialogAction::press(1));
    ASSERT_EQ(open(kTintTool, actions), kNoErr);
    for (int k = 0; k < kToolCount; ++k) {
        SCOPED_TRACE("tool " + std::to_string(k));
        open(k, {DialogAction::escape()});
        for (const ex::Item &e : ex::brushSection()) {
            if (!isValueItem(e)) continue;
            const ItemShot *s = shot.find(e.id);
            ASSERT_NE(s, nullptr);
            const char *want = reinterpret_cast<const char *>(&after) + e.field;
            if (e.kind == ex::FloatField) {
                EXPECT_EQ(float(s->value), *reinterpret_cast<const float *>(want));
            }
            if (e.kind == ex::IntField) {
                EXPECT_EQ(s->value, *reinterpret_cast<const int32_t *>(want));
            }
            if (e.kind == ex::CheckBox) {
                EXPECT_EQ(s->checked, *reinterpret_cast<const int32_t *>(want) != 0);
            }
            if (e.kind == ex::Popup) {
                EXPECT_EQ(s->active, *reinterpret_cast<const int32_t *>(want));
            }
        }
    }
}

TEST_F(OptionsDialogTest, AValueChangedByADragShowsTheNextTime) {
    open(kRotateTool, {DialogAction::escape()});
    EXPECT_EQ(shot.find(30)->shown, "1.00");
    // Shift and control held while dragging step the Rotate angle up by one.
    const ASInt32 cycleUp = kADMShiftKeyMask | kADMControlKeyMask;
    ASSERT_EQ(mouseDown(kRotateTool, {100, 100}), kNoErr);
    drag(kRotateTool, {110, 100}, 255, cycleUp);
    drag(kRotateTool, {120, 100}, 255, cycleUp);
    ASSERT_EQ(mouseUp(kRotateTool, {120, 100}), kNoErr);
    ASSERT_FLOAT_EQ(g().rotateAngle, 3.0f);
    open(kRotateTool, {DialogAction::escape()});
    EXPECT_EQ(shot.find(30)->shown, "3.00");

    g().scaleLimitMode = 2;  // any field, however it changed
    open(kScalingTool, {DialogAction::escape()});
    EXPECT_EQ(shot.find(9)->active, 2);
}

TEST_F(OptionsDialogTest, StylesNumberRunsToTheLastNamedStyleOrToTenWhenUncountable) {
    for (int i = 0; i < 5; ++i) host.document().addGraphicStyle("style " + std::to_string(i), AIPathStyle{});
    EXPECT_EQ(open(kStylesTool, {DialogAction::type(80, "4"), DialogAction::press(1)}), kNoErr);
    EXPECT_EQ(shot.find(80)->low, 0);
    EXPECT_EQ(shot.find(80)->high, 4);
    EXPECT_EQ(g().styleIndex, 4);
    open(kStylesTool, {DialogAction::type(80, "5"), DialogAction::press(1)});
    EXPECT_EQ(g().styleIndex, 4);

    host.faults.failEveryCall("AI Art Style Suite", "CountNamedArtStyles", kParamErr);
    host.transcript.clear();
    EXPECT_EQ(open(kStylesTool, {DialogAction::type(80, "10"), DialogAction::press(1)}), kNoErr);
    EXPECT_EQ(shot.find(80)->high, 10);
    EXPECT_EQ(g().styleIndex, 10);
    open(kStylesTool, {DialogAction::type(80, "11"), DialogAction::press(1)});
    EXPECT_EQ(g().styleIndex, 10);
    EXPECT_EQ(dialogsShown(), 2);  // the failed count is no error the user sees
}

TEST_F(OptionsDialogTest, StylesWithoutNamedStylesHoldsTheNumberAtZero) {
    // The count minus one gives a maximum of -1, below the minimum 0: the
    // host's number field then admits only its minimum.
    EXPECT_EQ(open(kStylesTool, {DialogAction::type(80, "3"), DialogAction::press(1)}), kNoErr);
    EXPECT_EQ(shot.find(80)->shown, "0");
    EXPECT_EQ(g().styleIndex, 0);
}

TEST_F(OptionsDialogTest, SwatchNumbersRunToTheSwatchCountItself) {
    for (int i = 0; i < 12; ++i) host.document().addSwatch("swatch " + std::to_string(i), AIColor{});
    host.log.enable(true);
    EXPECT_EQ(open(kSwatchesTool, {DialogAction::type(120, "12"), DialogAction::type(125, "13"),
                                   DialogAction::type(124, "-11"), DialogAction::press(1)}),
              kNoErr);
    EXPECT_EQ(shot.find(120)->high, 12);
    EXPECT_EQ(shot.find(125)->high, 12);
    EXPECT_EQ(g().swatchIndex, 12);
    EXPECT_EQ(g().swatchIgnoreRandom, 12);
    EXPECT_EQ(g().swatchJitter, -10);
    int counts = 0;
    for (const SuiteCall &c : host.log.calls()) counts += c.function == "CountSwatches" ? 1 : 0;
    EXPECT_EQ(counts, 1);
}

TEST_F(OptionsDialogTest, AHandleThatIsNoToolOfOursShowsNothing) {
    int other = 0;
    EXPECT_EQ(host.sendTool("AI Edit Options", reinterpret_cast<AIToolHandle>(&other), {0, 0}, 0, 0), kNoErr);
    EXPECT_TRUE(host.transcript.empty());
}

// ---- The host calls with which a dialog is built and read back

std::string call(const SuiteCall &c) { return c.function + "(" + c.args + ")"; }

class DialogCallOrderTest : public OptionsDialogTest {
protected:
    static bool relevant(const SuiteCall &c) {
        return c.suite.rfind("ADM", 0) == 0 || c.function == "CountNamedArtStyles" || c.function == "CountSwatches";
    }

    // The calls that build one item, in the order each kind requires.
    void creation(const ex::Item &e, const Globals &g, std::vector<std::string> &out, const std::string &maxText) {
        const std::string id = std::to_string(e.id);
        const std::string rect = std::to_string(e.left) + " " + std::to_string(e.top) + " " + std::to_string(e.right) +
                                 " " + std::to_string(e.bottom);
        const char *field = reinterpret_cast<const char *>(&g) + e.field;
        auto num = [](double v) {
            std::ostringstream s;
            s << float(v);
            return s.str();
        };
        switch (e.kind) {
        case ex::Label:
            out.push_back("CreateItem(" + id + ", ADM Text Static Type, " + rect + ")");
            out.push_back("SetText(" + id + ", " + e.text + ")");
            break;
        case ex::FloatField:
            out.push_back("CreateItem(" + id + ", ADM Spin Edit Type, " + rect + ")");
            out.push_back("SetUnits(" + id + ", 0)");
            out.push_back("SetMinFloatValue(" + id + ", " + num(e.low) + ")");
            out.push_back("SetMaxFloatValue(" + id + ", " + num(e.high) + ")");
            out.push_back("SetFloatValue(" + id + ", " + num(*reinterpret_cast<const float *>(field)) + ")");
            out.push_back("SetPrecision(" + id + ", 2)");
            break;
        case ex::IntField:
            out.push_back("CreateItem(" + id + ", ADM Spin Edit Type, " + rect + ")");
            out.push_back("SetUnits(" + id + ", 0)");
            out.push_back("SetMinIntValue(" + id + ", " + std::to_string(int(e.low)) + ")");
            out.push_back("SetMaxIntValue(" + id + ", " + (maxText.empty() ? std::to_string(int(e.high)) : maxText) + ")");
            out.push_back("SetIntValue(" + id + ", " + std::to_string(*reinterpret_cast<const int32_t *>(field)) + ")");
            break;
        case ex::CheckBox:
            out.push_back("CreateItem(" + id + ", ADM Text Check Box Type, " + rect + ")");
            out.push_back("SetBooleanValue(" + id + ", " + (*reinterpret_cast<const int32_t *>(field) ? "1" : "0") + ")");
            out.push_back("SetText(" + id + ", " + e.text + ")");
            break;
        case ex::Popup: {
            out.push_back("CreateItem(" + id + ", ADM Popup List Type, " + rect + ")");
            out.push_back("GetList(" + id + ")");
            for (size_t n = 0; n < e.list->size(); ++n) {
                out.push_back("InsertEntry(" + id + ", " + std::to_string(n) + ")");
                out.push_back("SetText(" + (*e.list)[n] + ")");
                out.push_back("SetID(" + std::to_string(n) + ")");
            }
            const int32_t value = *reinterpret_cast<const int32_t *>(field);
            out.push_back("GetEntry(" + id + ", " + std::to_string(value) + ")");
            out.push_back("Select(" + id + "#" + std::to_string(value) + ", 1)");
            break;
        }
        case ex::Button:
            out.push_back("CreateItem(" + id + ", ADM Text Push Button Type, " + rect + ")");
            out.push_back("SetText(" + id + ", " + e.text + ")");
            break;
        }
    }

    // The calls of the OK handler that read one item back.
    static void readBack(const ex::Item &e, const Globals &after, std::vector<std::string> &out) {
        const std::string id = std::to_string(e.id);
        out.push_back("GetItem(" + id + ")");
        switch (e.kind) {
        case ex::FloatField: out.push_back("GetFloatValue(" + id + ")"); break;
        case ex::IntField: out.push_back("GetIntValue(" + id + ")"); break;
        case ex::CheckBox: out.push_back("GetBooleanValue(" + id + ")"); break;
        case ex::Popup:
            out.push_back("GetList(" + id + ")");
            out.push_back("GetActiveEntry(" + id + ")");
            out.push_back("GetID(" + id + "#" +
                          std::to_string(*reinterpret_cast<const int32_t *>(reinterpret_cast<const char *>(&after) + e.field)) +
                          ")");
            break;
        default: break;
        }
    }
};

TEST_F(DialogCallOrderTest, EveryDialogIsBuiltAndReadInTheRequiredOrder) {
    for (int i = 0; i < 3; ++i) host.document().addGraphicStyle("style " + std::to_string(i), AIPathStyle{});
    for (int i = 0; i < 7; ++i) host.document().addSwatch("swatch " + std::to_string(i), AIColor{});
    for (int k = 0; k < kToolCount; ++k) {
        SCOPED_TRACE("tool " + std::to_string(k));
        const Globals before = g();
        std::vector<std::string> want = {"Modal(Tool Dialog " + std::to_string(k) + ", " + std::to_string(16101 + 2 * k) + ", 0)",
                                         "SetSize(260, 500)"};
        bool swatchesCounted = false;
        for (const ex::Item &e : ex::allItems(k)) {
            std::string maxText;
            if (e.high == ex::kStylesMinusOne) {
                want.push_back("CountNamedArtStyles()");
                maxText = "2";
            }
            if (e.high == ex::kSwatchCount) {
                if (!swatchesCounted) want.push_back("CountSwatches()");
                swatchesCounted = true;
                maxText = "7";
            }
            creation(e, before, want, maxText);
        }
        const std::string focus = std::to_string(ex::tool(k).focus);
        for (const char *step : {"GetItem(", "Activate(", "GetItem(", "SelectAll("})
            want.push_back(step + focus + (std::string(step) == "Activate(" ? ", 1)" : ")"));
        want.push_back("SetNotifyProc(1)");
        want.push_back("GetDialog(1)");
        want.push_back("DefaultNotify(1)");
        for (const ex::Item &e : ex::allItems(k))
            if (isValueItem(e)) readBack(e, before, want);

        host.log.clear();
        host.log.enable(true);
        EXPECT_EQ(open(k), kNoErr);
        host.log.enable(false);
        std::vector<std::string> got;
        for (const SuiteCall &c : host.log.calls())
            if (relevant(c)) got.push_back(call(c));
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) ASSERT_EQ(got[i], want[i]) << "call " << i;
    }
}

}  // namespace
}  // namespace smear
