// The stand-in dialog manager as a plug-in meets it through the ADM suites:
// number fields, popups, check boxes, focus, notifiers and default handling,
// scripted user actions, template items, strings, icons and modifiers.
#include <functional>
#include <iterator>
#include <map>
#include <tuple>

#include "dialog_manager.h"
#include "fixture.h"

namespace smear {
namespace {

std::function<void(ADMDialogRef)> gBuild;
std::function<void(ADMItemRef, ADMNotifierRef)> gNotify;

SPErr buildTrampoline(ADMDialogRef dialog) {
    if (gBuild) gBuild(dialog);
    return kNoErr;
}
SPErr failingInit(ADMDialogRef) { return kParamErr; }
void notifyTrampoline(ADMItemRef item, ADMNotifierRef notifier) { gNotify(item, notifier); }

constexpr int kToolTemplate = 16101;   // a tool dialog: title only
constexpr int kErrorTemplate = 16051;  // the error dialog: four template items

class DialogManagerTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        dlg = static_cast<const ADMDialogSuite *>(host.suites.find(kADMDialogSuite, kADMDialogSuiteVersion));
        item = static_cast<const ADMItemSuite *>(host.suites.find(kADMItemSuite, kADMItemSuiteVersion));
        list = static_cast<const ADMListSuite *>(host.suites.find(kADMListSuite, kADMListSuiteVersion));
        entry = static_cast<const ADMEntrySuite *>(host.suites.find(kADMEntrySuite, kADMEntrySuiteVersion));
        basic = static_cast<const ADMBasicSuite *>(host.suites.find(kADMBasicSuite, kADMBasicSuiteVersion));
        icon = static_cast<const ADMIconSuite *>(host.suites.find(kADMIconSuite, kADMIconSuiteVersion));
        tracker = static_cast<const ADMTrackerSuite *>(host.suites.find(kADMTrackerSuite, kADMTrackerSuiteVersion));
        ASSERT_TRUE(dlg && item && list && entry && basic && icon && tracker);
    }
    void TearDown() override {
        gBuild = nullptr;
        gNotify = nullptr;
        PluginTest::TearDown();
    }

    ADMItemRef make(ADMDialogRef d, int id, const char *type, ADMRect r = {10, 10, 100, 30}) {
        return dlg->CreateItem(d, id, type, &r, nullptr, nullptr);
    }
    // A float field with two decimals, as the options dialogs make them.
    ADMItemRef floatField(ADMDialogRef d, int id, float lo, float hi, float value) {
        ADMItemRef f = make(d, id, kADMSpinEditType);
        item->SetMinFloatValue(f, lo);
        item->SetMaxFloatValue(f, hi);
        item->SetFloatValue(f, value);
        item->SetPrecision(f, 2);
        return f;
    }
    void okAndCancel(ADMDialogRef d) {
        item->SetText(make(d, 1, kADMTextPushButtonType), "OK");
        item->SetText(make(d, 2, kADMTextPushButtonType), "Cancel");
    }
    ASInt32 run(std::vector<DialogAction> actions, int templateId = kToolTemplate) {
        host.dialogs->queue(std::move(actions));
        return dlg->Modal(host.pluginRef(), "Test Dialog", templateId, kADMModalDialogStyle, buildTrampoline, nullptr);
    }

    const ADMDialogSuite *dlg = nullptr;
    const ADMItemSuite *item = nullptr;
    const ADMListSuite *list = nullptr;
    const ADMEntrySuite *entry = nullptr;
    const ADMBasicSuite *basic = nullptr;
    const ADMIconSuite *icon = nullptr;
    const ADMTrackerSuite *tracker = nullptr;
};

TEST_F(DialogManagerTest, NumberFieldsClampRoundAndKeepTheirValueOnText) {
    std::vector<std::string> shown;
    std::vector<float> values;
    gBuild = [&](ADMDialogRef d) {
        floatField(d, 10, 0.01f, 2000, 50);
        okAndCancel(d);
    };
    host.dialogs->onOpen = [&](Dialog &d) { shown.push_back(d.item(10)->displayText()); };
    gNotify = [&](ADMItemRef ok, ADMNotifierRef n) {
        item->DefaultNotify(ok, n);
        // Items stay readable until the handler returns.
        values.push_back(item->GetFloatValue(dlg->GetItem(item->GetDialog(ok), 10)));
    };
    auto build = gBuild;
    gBuild = [&](ADMDialogRef d) {
        build(d);
        item->SetNotifyProc(dlg->GetItem(d, 1), notifyTrampoline);
    };
    const std::pair<const char *, float> cases[] = {
        {"12.5", 12.5f},   {"5000", 2000},   {"-3", 0.01f},   {"0.004", 0.01f}, {"12.345", 12.35f},
        {" 7 ", 7},        {"+8.25", 8.25f}, {"abc", 50},     {"", 50},         {"1e3", 50},
        {"12abc", 50},     {"0x10", 50},     {"inf", 50},     {"1.2.3", 50},    {"--1", 50},
    };
    for (const auto &c : cases) run({DialogAction::type(10, c.first), DialogAction::press(1)});
    ASSERT_EQ(values.size(), std::size(cases));
    for (size_t i = 0; i < values.size(); ++i) EXPECT_FLOAT_EQ(values[i], cases[i].second) << cases[i].first;
    EXPECT_EQ(shown.front(), "50.00");
    EXPECT_EQ(host.dialogs->problems.size(), 8u);  // one per text that is no number
}

TEST_F(DialogManagerTest, NumberFieldTextShowsItsDecimals) {
    std::map<int, std::string> shown;
    gBuild = [&](ADMDialogRef d) {
        floatField(d, 10, -100, 100, 12.5f);
        floatField(d, 11, -100, 100, -0.001f);  // rounds to zero: no sign
        ADMItemRef whole = make(d, 12, kADMSpinEditType);
        item->SetMinIntValue(whole, -10);
        item->SetMaxIntValue(whole, 10);
        item->SetIntValue(whole, -7);
        ADMItemRef beyond = make(d, 13, kADMSpinEditType);
        item->SetMaxIntValue(beyond, 5);
        item->SetIntValue(beyond, 9);  // set beyond the limits: clamped
        char text[8];
        item->GetText(whole, text, sizeof text);
        EXPECT_STREQ(text, "-7");
        item->GetText(dlg->GetItem(d, 10), text, 4);  // cut to the buffer
        EXPECT_STREQ(text, "12.");
        EXPECT_EQ(item->GetIntValue(dlg->GetItem(d, 10)), 13);  // rounds
    };
    host.dialogs->onOpen = [&](Dialog &d) {
        for (int id : {10, 11, 12, 13}) shown[id] = d.item(id)->displayText();
    };
    run({});
    EXPECT_EQ(shown[10], "12.50");
    EXPECT_EQ(shown[11], "0.00");
    EXPECT_EQ(shown[12], "-7");
    EXPECT_EQ(shown[13], "5");
}

TEST_F(DialogManagerTest, AMaximumBelowTheMinimumAdmitsOnlyTheMinimum) {
    std::vector<double> seen;
    gBuild = [&](ADMDialogRef d) {
        ADMItemRef f = make(d, 10, kADMSpinEditType);
        item->SetMinIntValue(f, 0);
        item->SetMaxIntValue(f, -1);
        item->SetIntValue(f, 3);
        seen.push_back(item->GetIntValue(f));
        item->SetIntValue(f, -5);
        seen.push_back(item->GetIntValue(f));
    };
    host.dialogs->onOpen = [&](Dialog &d) {
        d.item(10)->typeText("-1");
        seen.push_back(d.item(10)->value);
    };
    run({});
    EXPECT_EQ(seen, (std::vector<double>{0, 0, 0}));
}

TEST_F(DialogManagerTest, PopupsHoldNumberedEntriesAndOneActiveEntry) {
    std::vector<ASInt32> picked;
    gBuild = [&](ADMDialogRef d) {
        ADMItemRef p = make(d, 20, kADMPopupListType);
        ADMListRef l = item->GetList(p);
        const char *texts[] = {" a", " c", " b"};
        for (int i = 0; i < 3; ++i) {
            ADMEntryRef e = list->InsertEntry(l, i);
            entry->SetText(e, texts[i]);
            entry->SetID(e, 10 + i);
        }
        // An insertion in the middle moves the later entries down.
        ADMEntryRef mid = list->InsertEntry(l, 1);
        entry->SetText(mid, " inserted");
        entry->SetID(mid, 99);
        EXPECT_EQ(list->NumberOfEntries(l), 4);
        EXPECT_EQ(entry->GetID(list->GetEntry(l, 2)), 11);
        EXPECT_EQ(list->GetEntry(l, 4), nullptr);
        EXPECT_EQ(list->GetActiveEntry(l), nullptr);
        entry->Select(list->GetEntry(l, 2), true);
        entry->Select(list->GetEntry(l, 3), true);  // one active entry: the last selected
        EXPECT_EQ(entry->GetID(list->GetActiveEntry(l)), 12);
        okAndCancel(d);
        item->SetNotifyProc(dlg->GetItem(d, 1), notifyTrampoline);
    };
    gNotify = [&](ADMItemRef ok, ADMNotifierRef n) {
        item->DefaultNotify(ok, n);
        ADMItemRef p = dlg->GetItem(item->GetDialog(ok), 20);
        picked.push_back(entry->GetID(list->GetActiveEntry(item->GetList(p))));
    };
    std::string shown;
    host.dialogs->onOpen = [&](Dialog &d) { shown = d.item(20)->displayText(); };
    EXPECT_EQ(run({DialogAction::pick(20, 1), DialogAction::press(1)}), 1);
    EXPECT_EQ(shown, " b");
    EXPECT_EQ(run({DialogAction::pick(20, 7), DialogAction::press(1)}), 1);  // no entry 7: nothing changes
    EXPECT_EQ(picked, (std::vector<ASInt32>{99, 12}));
    EXPECT_EQ(host.dialogs->problems.size(), 1u);
}

TEST_F(DialogManagerTest, DefaultHandlingEndsTheDialogAsTheUserDid) {
    gBuild = [&](ADMDialogRef d) {
        ADMItemRef box = make(d, 30, kADMTextCheckBoxType);
        item->SetText(box, "Tick");
        okAndCancel(d);
    };
    EXPECT_EQ(run({DialogAction::press(1)}), 1);
    EXPECT_EQ(run({DialogAction::press(2)}), 2);
    EXPECT_EQ(run({DialogAction::escape()}), 2);
    EXPECT_EQ(run({DialogAction::closeBox()}), 0);
    EXPECT_EQ(run({}), 1);  // Enter: the default item
    // Ticking a box does not close the dialog; the rest of the script is
    // dropped once the dialog has closed.
    EXPECT_EQ(run({DialogAction::check(30, true), DialogAction::escape(), DialogAction::press(1)}), 2);
    ASSERT_EQ(host.dialogs->problems.size(), 1u);
    EXPECT_NE(host.dialogs->problems[0].find("after the dialog closed"), std::string::npos);
    ASSERT_EQ(host.transcript.size(), 6u);
    EXPECT_EQ(host.transcript[3].result, 0);
    EXPECT_EQ(host.transcript[5].result, 2);
}

TEST_F(DialogManagerTest, EscapeWithoutACancelItemEndsWithTwo) {
    gBuild = [&](ADMDialogRef d) { item->SetText(make(d, 1, kADMTextPushButtonType), "OK"); };
    EXPECT_EQ(run({DialogAction::escape()}), 2);
}

TEST_F(DialogManagerTest, ADialogThatItsOkItemDoesNotCloseIsClosedByTheBox) {
    int notified = 0;
    gBuild = [&](ADMDialogRef d) {
        okAndCancel(d);
        item->SetNotifyProc(dlg->GetItem(d, 1), notifyTrampoline);
    };
    gNotify = [&](ADMItemRef, ADMNotifierRef) { ++notified; };  // swallows the click
    EXPECT_EQ(run({DialogAction::press(1)}), 0);
    EXPECT_EQ(notified, 2);  // the scripted click and Enter
    EXPECT_EQ(host.dialogs->problems.size(), 1u);
}

TEST_F(DialogManagerTest, CheckBoxesFocusAndTranscript) {
    bool ticked = false;
    gBuild = [&](ADMDialogRef d) {
        ADMItemRef box = make(d, 30, kADMTextCheckBoxType);
        item->SetBooleanValue(box, true);
        item->SetText(box, "Tick");
        ADMItemRef label = make(d, 31, kADMTextStaticType);
        item->SetText(label, "Label");
        floatField(d, 32, 0, 10, 1);
        item->Activate(dlg->GetItem(d, 32), true);
        item->SelectAll(dlg->GetItem(d, 32));
        okAndCancel(d);
        item->SetNotifyProc(dlg->GetItem(d, 1), notifyTrampoline);
    };
    gNotify = [&](ADMItemRef ok, ADMNotifierRef n) {
        ticked = item->GetBooleanValue(dlg->GetItem(item->GetDialog(ok), 30));
        item->DefaultNotify(ok, n);
    };
    bool focusSelected = false;
    host.dialogs->onOpen = [&](Dialog &d) { focusSelected = d.focus() == d.item(32) && d.item(32)->textSelected; };
    EXPECT_EQ(run({DialogAction::check(30, false), DialogAction::type(31, "x"), DialogAction::press(1)}), 1);
    EXPECT_TRUE(focusSelected);
    EXPECT_FALSE(ticked);
    ASSERT_EQ(host.dialogs->problems.size(), 1u);  // a label takes no typing
    ASSERT_EQ(host.transcript.size(), 1u);
    const UiEvent &e = host.transcript[0];
    EXPECT_EQ(e.kind, "dialog");
    EXPECT_EQ(e.title, "Smearcraft (Scaling)");
    EXPECT_EQ(e.name, "Test Dialog");
    EXPECT_EQ(e.texts, (std::vector<std::pair<int, std::string>>{
                           {30, "Tick"}, {31, "Label"}, {32, "1.00"}, {1, "OK"}, {2, "Cancel"}}));
    EXPECT_EQ(e.result, 1);
}

TEST_F(DialogManagerTest, TemplateItemsComeFirstWithTheirKindsAndTexts) {
    std::vector<std::tuple<int, ItemKind, std::string>> items;
    int width = 0;
    host.dialogs->onOpen = [&](Dialog &d) {
        width = d.width;
        for (const auto &i : d.items()) items.emplace_back(i->id, i->kind, i->text);
    };
    gBuild = nullptr;
    EXPECT_EQ(run({}, kErrorTemplate), 1);  // its OK button ends it by default handling
    EXPECT_EQ(width, 185 * 6 / 4);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0], std::make_tuple(1, ItemKind::PushButton, std::string("OK")));
    EXPECT_EQ(std::get<1>(items[1]), ItemKind::Static);
    EXPECT_EQ(std::get<2>(items[1]), "Message");
    EXPECT_EQ(std::get<1>(items[2]), ItemKind::Static);
    EXPECT_EQ(std::get<1>(items[3]), ItemKind::Frame);
}

TEST_F(DialogManagerTest, MissingTemplateOrFailedInitShowsNothing) {
    EXPECT_EQ(dlg->Modal(host.pluginRef(), "None", 999, 0, buildTrampoline, nullptr), -1);
    EXPECT_EQ(dlg->Modal(host.pluginRef(), "Failing", kToolTemplate, 0, failingInit, nullptr), -1);
    EXPECT_TRUE(host.transcript.empty());
    EXPECT_EQ(host.dialogs->problems.size(), 2u);
}

TEST_F(DialogManagerTest, ScriptsAreTakenOnePerDialogInOrder) {
    gBuild = [&](ADMDialogRef d) { okAndCancel(d); };
    host.dialogs->queue({DialogAction::escape()});
    host.dialogs->queue({DialogAction::closeBox()});
    EXPECT_EQ(dlg->Modal(host.pluginRef(), "a", kToolTemplate, 0, buildTrampoline, nullptr), 2);
    EXPECT_EQ(dlg->Modal(host.pluginRef(), "b", kToolTemplate, 0, buildTrampoline, nullptr), 0);
    EXPECT_EQ(dlg->Modal(host.pluginRef(), "c", kToolTemplate, 0, buildTrampoline, nullptr), 1);
    EXPECT_EQ(host.dialogs->queuedScripts(), 0u);
}

TEST_F(DialogManagerTest, IndexedStringsAreCopiedBoundedAndEndWithAnEmptyOne) {
    char buffer[256];
    ASSERT_EQ(basic->GetIndexString(host.pluginRef(), 16050, 5, buffer, sizeof buffer), kNoErr);
    EXPECT_STREQ(buffer, "SEGM");
    char small[3] = {'x', 'x', 'x'};
    ASSERT_EQ(basic->GetIndexString(host.pluginRef(), 16050, 5, small, sizeof small), kNoErr);
    EXPECT_STREQ(small, "SE");
    ASSERT_EQ(basic->GetIndexString(host.pluginRef(), 16050, 13, buffer, sizeof buffer), kNoErr);
    EXPECT_STREQ(buffer, "");
    host.faults.failEveryCall(kADMBasicSuite, "GetIndexString", kParamErr);
    EXPECT_EQ(basic->GetIndexString(host.pluginRef(), 16050, 5, buffer, sizeof buffer), kParamErr);
}

TEST_F(DialogManagerTest, AlertsIconsAndModifiers) {
    basic->MessageAlert("hello");
    ASSERT_EQ(host.transcript.size(), 1u);
    EXPECT_EQ(host.transcript[0].kind, "alert");
    EXPECT_EQ(host.transcript[0].title, "hello");

    ADMIconRef found = icon->GetFromResource(host.pluginRef(), 16051, 0);
    ADMIconRef missing = icon->GetFromResource(host.pluginRef(), 16051, 500);
    EXPECT_EQ(icon->GetType(found), kADMIconResourceType);
    EXPECT_GT(icon->GetWidth(found), 0);
    EXPECT_GT(icon->GetHeight(found), 0);
    EXPECT_EQ(icon->GetType(missing), kADMUnknownIconType);
    EXPECT_EQ(host.dialogs->liveIcons(), 2u);
    icon->Destroy(found);
    icon->Destroy(missing);
    EXPECT_EQ(host.dialogs->liveIcons(), 0u);

    host.modifiers = kADMShiftKeyMask | kADMSpaceKeyMask;
    EXPECT_EQ(tracker->GetModifiers(nullptr), kADMShiftKeyMask | kADMSpaceKeyMask);
}

}  // namespace
}  // namespace smear
