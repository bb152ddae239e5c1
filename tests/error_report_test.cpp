// The error dialog: which codes show it, with which message and code text.
#include "fixture.h"

namespace smear {
namespace {

const char kMemory[] = "The filter cannot complete because there isn't enough memory (RAM) available.";
const char kLocked[] = "The filter cannot complete because a layer is locked or invisible.";
const char kUnknown[] =
    "Unknown error - possible reason: filters require paths to be selected before use or too many paths have "
    "been selected";

class ErrorReportTest : public PluginTest {
protected:
    // Start-up fails with `code` in its first call after acquisition.
    SPErr startupFailingWith(SPErr code) {
        host.faults.failEveryCall("SP Blocks Suite", "AllocateBlock", code);
        return startup();
    }
    const UiEvent *errorDialog() const {
        for (const UiEvent &e : host.transcript)
            if (e.kind == "dialog" && e.name == "Error Dialog") return &e;
        return nullptr;
    }
    static std::string text(const UiEvent &e, int item) {
        for (const auto &t : e.texts)
            if (t.first == item) return t.second;
        return {};
    }
};

TEST_F(ErrorReportTest, KnownNumberCodesShowTheirMessage) {
    struct Case {
        SPErr code;
        const char *message;
        const char *codeText;
    };
    for (const Case &c : {Case{-108, kMemory, "-108"}, Case{271, kMemory, "271"}, Case{-50, kUnknown, "-50"}}) {
        host.transcript.clear();
        host.faults.clear();
        EXPECT_EQ(startupFailingWith(c.code), c.code);
        const UiEvent *dialog = errorDialog();
        ASSERT_NE(dialog, nullptr) << c.code;
        EXPECT_EQ(dialog->title, "Plug-in Error - Quillmar");
        EXPECT_EQ(text(*dialog, 2), c.message);
        EXPECT_EQ(text(*dialog, 3), c.codeText);
        EXPECT_EQ(dialog->result, 1);
    }
}

TEST_F(ErrorReportTest, FourCharacterCodeReadsFromItsLowestByte) {
    SPErr segm = SPErr('S') | SPErr('E') << 8 | SPErr('G') << 16 | SPErr('M') << 24;
    EXPECT_EQ(startupFailingWith(segm), segm);
    const UiEvent *dialog = errorDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(text(*dialog, 2), kLocked);
    EXPECT_EQ(text(*dialog, 3), "SEGM");
}

TEST_F(ErrorReportTest, CancelAndSilentCodesShowNothing) {
    for (SPErr code : {kStopErr, kSilentErr}) {
        host.faults.clear();
        EXPECT_EQ(startupFailingWith(code), code);
        EXPECT_TRUE(host.transcript.empty());
    }
}

TEST_F(ErrorReportTest, FailedMessageLookupShowsNothing) {
    host.faults.failEveryCall("ADM Basic Suite", "GetIndexString", kBadParameterErr);
    EXPECT_EQ(startupFailingWith(-108), -108);
    EXPECT_EQ(errorDialog(), nullptr);
}

TEST_F(ErrorReportTest, MouseUpResultReachesTheErrorDialog) {
    ASSERT_EQ(startup(), 0);
    ASSERT_EQ(mouseDown(0, {0, 0}), 0);
    host.faults.failEveryCall("AI Undo Suite", "CloseUndoStep", -108);
    EXPECT_EQ(mouseUp(0, {0, 0}), -108);
    ASSERT_NE(errorDialog(), nullptr);
}

}  // namespace
}  // namespace smear
