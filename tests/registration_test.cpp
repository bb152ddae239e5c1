// Tool registration at start-up and the option defaults.
#include "adm_handles.h"
#include "fixture.h"

namespace smear {
namespace {

struct ExpectedTool {
    const char *title;
    const char *tooltip;
};

const ExpectedTool kTools[19] = {
    {" TL58 Scaling", " TL58 Scaling (expand to see other plugins)"},
    {" TL58 Translate", " TL58 Translate (double click to see options)"},
    {" TL58 Rotate", " TL58 Rotate (selected paths, symbols, text/10, images)"},
    {" TL58 Transparency", " TL58 Transparency (paint on transparency)"},
    {" TL58 Stroke weight", " TL58 Stroke weight (line weight)"},
    {" TL58 Fill intensity", " TL58 Fill intensity (brightness)"},
    {" TL58 Fill channels", " TL58 Fill channels (color)"},
    {" TL58 Styles", " TL58 Styles (style modification)"},
    {" TL58 Blend mode", " TL58 Blend mode (difference, multiply...)"},
    {" TL58 Color reducer", " TL58 Color reducer (averaging)"},
    {" TL58 Corner points", " TL58 Corner points"},
    {" TL58 Swatches", " TL58 Swatches (apply from palette)"},
    {" TL58 Tint", " TL58 Tint (tint swatches)"},
    {" TL58 Gradient", " TL58 Gradient (angle etc)"},
    {" TL58 Pattern", " TL58 Pattern (angle etc)"},
    {" TL58 Quick shrink", " TL58 Quick shrink (lens)"},
    {" TL58 Point shifter", " TL58 Point shifter - drag points"},
    {" TL58 Gradient Mesh", " TL58 Gradient Mesh Color"},
    {" TL58 Warp Mesh", " TL58 Warp Mesh"},
};

using RegistrationTest = PluginTest;

TEST_F(RegistrationTest, NineteenToolsInOneGroupInOrder) {
    ASSERT_EQ(startup(), 0);
    ASSERT_EQ(host.palette.size(), 19u);
    const PaletteTool &first = host.palette[0];
    for (size_t k = 0; k < 19; ++k) {
        const PaletteTool &t = host.palette[k];
        EXPECT_EQ(t.name, kTools[k].title);
        EXPECT_EQ(t.title, kTools[k].title);
        EXPECT_EQ(t.tooltip, kTools[k].tooltip);
        ASSERT_NE(t.icon, nullptr);
        EXPECT_EQ(toIcon(t.icon)->resourceId, int(16051 + k));
        EXPECT_EQ(toIcon(t.icon)->type, kADMIconResourceType);
        EXPECT_EQ(toIcon(t.icon)->width, 32);
        EXPECT_EQ(t.options, kToolWantsToTrackCursorOption);
        // The first tool opens the group and toolset; the others join it.
        EXPECT_EQ(t.groupNumber, first.number) << t.name;
        EXPECT_EQ(t.toolsetNumber, first.number) << t.name;
        EXPECT_EQ(g().toolHandles[k], reinterpret_cast<AIToolHandle>(&host.palette[k]));
    }
}

TEST_F(RegistrationTest, MissingIconStopsRegistrationWithBadIconCode) {
    host.resources().remove(kRtGroupIcon, 16058);  // ToolId 7's icon
    EXPECT_EQ(startup(), kBadIconErr);
    ASSERT_EQ(host.palette.size(), 7u);
    EXPECT_EQ(host.palette.back().name, " TL58 Fill channels");
    // The defaults are written before the first tool, so the seven tools that
    // did register work with sane options.
    EXPECT_EQ(g().brushSizeHorizontal, 50.0f);
    EXPECT_EQ(g().warpMeshFactor, 100.0f);
}

TEST_F(RegistrationTest, AddToolFailureStopsAtThatTool) {
    host.faults.failNthCallOf("AI Tool Suite", "AddTool", 5, kOutOfMemoryErr);
    EXPECT_EQ(startup(), kOutOfMemoryErr);
    EXPECT_EQ(host.palette.size(), 4u);
    EXPECT_EQ(g().rotateAngle, 1.0f);
    // The failure reaches the user.
    bool shown = false;
    for (const UiEvent &e : host.transcript) shown |= e.name == "Error Dialog";
    EXPECT_TRUE(shown);
}

TEST_F(RegistrationTest, EveryOptionHasItsDefaultAfterStartup) {
    ASSERT_EQ(startup(), 0);
    const Globals &o = g();
    EXPECT_EQ(o.brushShape, 0);
    EXPECT_EQ(o.OutlineArt, nullptr);
    EXPECT_EQ(o.brushSizeHorizontal, 50.0f);
    EXPECT_EQ(o.brushSizeVertical, 50.0f);
    EXPECT_EQ(o.showOutline, 1);
    EXPECT_EQ(o.pressureModification, 0);
    EXPECT_EQ(o.sizeFromPressure, 0);
    EXPECT_EQ(o.trailOnNewLayer, 0);
    EXPECT_EQ(o.trailCursor, 0);
    EXPECT_EQ(o.SlowdownCount, 0);
    EXPECT_EQ(o.brushSlowdown, 0);
    EXPECT_EQ(o.scaleHorizontal, -1.0f);
    EXPECT_EQ(o.scaleVertical, -1.0f);
    EXPECT_EQ(o.scaleMinWidth, 0.0f);
    EXPECT_EQ(o.scaleMinHeight, 0.0f);
    EXPECT_EQ(o.scaleMaxWidth, 9999.0f);
    EXPECT_EQ(o.scaleMaxHeight, 9999.0f);
    EXPECT_EQ(o.scaleLimitMode, 0);
    EXPECT_EQ(o.scaleSelectedCenter, 0);
    EXPECT_EQ(o.scaleRandom, 0);
    EXPECT_EQ(o.scaleApplyRandom, 0);
    EXPECT_EQ(o.translateHorizontal, 0.5f);
    EXPECT_EQ(o.translateVertical, 0.5f);
    EXPECT_EQ(o.translateBasedOnFill, 0);
    EXPECT_EQ(o.translateApplyRandom, 0);
    EXPECT_EQ(o.translateFollowBrush, 0);
    EXPECT_EQ(o.translateRandom, 0);
    EXPECT_EQ(o.rotateAngle, 1.0f);
    EXPECT_EQ(o.rotateBasedOnFill, 0);
    EXPECT_EQ(o.rotateSelectedCenter, 0);
    EXPECT_EQ(o.rotateRandom, 0);
    EXPECT_EQ(o.transparencyAmount, -1.0f);
    EXPECT_EQ(o.transparencyMode, 0);
    EXPECT_EQ(o.strokeWeightAmount, 0.1f);
    EXPECT_EQ(o.strokeWeightMode, 0);
    EXPECT_EQ(o.fillIntensityAmount, -1.0f);
    EXPECT_EQ(o.fillIntensityMode, 0);
    EXPECT_EQ(o.fillIntensityApplyToFill, 1);
    EXPECT_EQ(o.fillIntensityApplyToStroke, 0);
    EXPECT_EQ(o.fillIntensityApplyRandom, 0);
    for (float channel : {o.fillChannel1, o.fillChannel2, o.fillChannel3, o.fillChannel4}) EXPECT_EQ(channel, -1.0f);
    EXPECT_EQ(o.fillChannelsMode, 0);
    EXPECT_EQ(o.fillChannelsLink, 0);
    EXPECT_EQ(o.fillChannelsApplyToFill, 1);
    EXPECT_EQ(o.fillChannelsApplyToStroke, 0);
    EXPECT_EQ(o.fillChannelsCreateSwatch, 0);
    EXPECT_EQ(o.fillChannelsApplyRandom, 0);
    EXPECT_EQ(o.styleIndex, 1);
    EXPECT_EQ(o.styleFactor, 0.0f);
    EXPECT_EQ(o.styleMode, 0);
    EXPECT_EQ(o.styleFactorMode, 0);
    EXPECT_EQ(o.blendMode, 0);
    EXPECT_EQ(o.colorReducerAmount, 20.0f);
    EXPECT_EQ(o.colorReducerCreateSwatch, 0);
    EXPECT_EQ(o.colorReducerApplyToFill, 1);
    EXPECT_EQ(o.colorReducerApplyToStroke, 0);
    for (float amount : {o.cornerOutHorizontal, o.cornerOutVertical, o.cornerInHorizontal, o.cornerInVertical})
        EXPECT_EQ(amount, -10.0f);
    EXPECT_EQ(o.cornerRandom, 0);
    EXPECT_EQ(o.cornerApplyMode, 0);
    EXPECT_EQ(o.swatchIndex, 3);
    EXPECT_EQ(o.swatchRandom, 0);
    EXPECT_EQ(o.swatchApplyToFill, 1);
    EXPECT_EQ(o.swatchApplyToStroke, 0);
    EXPECT_EQ(o.swatchJitter, 0);
    EXPECT_EQ(o.swatchIgnoreRandom, 1);
    EXPECT_EQ(o.tintAmount, -1.0f);
    EXPECT_EQ(o.tintMode, 0);
    EXPECT_EQ(o.tintApplyToFill, 1);
    EXPECT_EQ(o.tintApplyToStroke, 0);
    EXPECT_EQ(o.gradientAngle, 1.0f);
    EXPECT_EQ(o.gradientLength, 3.0f);
    EXPECT_EQ(o.gradientHiliteAngle, 0.0f);
    EXPECT_EQ(o.gradientHiliteLength, 0.0f);
    EXPECT_EQ(o.gradientAngleMode, 0);
    EXPECT_EQ(o.gradientLengthMode, 0);
    EXPECT_EQ(o.gradientHiliteAngleMode, 0);
    EXPECT_EQ(o.gradientHiliteLengthMode, 0);
    EXPECT_EQ(o.patternAngle, -1.0f);
    EXPECT_EQ(o.patternScaleHorizontal, 0.0f);
    EXPECT_EQ(o.patternScaleVertical, 0.0f);
    EXPECT_EQ(o.patternAngleMode, 0);
    EXPECT_EQ(o.patternScaleHorizontalMode, 0);
    EXPECT_EQ(o.patternScaleVerticalMode, 0);
    EXPECT_EQ(o.pointShiftHorizontal, 0.5f);
    EXPECT_EQ(o.pointShiftVertical, 0.5f);
    EXPECT_EQ(o.pointShifterFactor, 100.0f);
    EXPECT_EQ(o.pointShifterFillFactor, 0);
    EXPECT_EQ(o.pointShifterRandom, 0);
    EXPECT_EQ(o.pointShifterFollowBrush, 1);
    EXPECT_EQ(o.pointShifterApplyRandom, 0);
    EXPECT_EQ(o.pointShifterDirectionPoints, 0);
    for (float channel : {o.meshColorChannel1, o.meshColorChannel2, o.meshColorChannel3, o.meshColorChannel4})
        EXPECT_EQ(channel, -1.0f);
    EXPECT_EQ(o.meshColorMode, 0);
    EXPECT_EQ(o.meshColorLink, 0);
    EXPECT_EQ(o.meshPattern, 0);
    EXPECT_EQ(o.warpShiftHorizontal, 0.5f);
    EXPECT_EQ(o.warpShiftVertical, 0.5f);
    EXPECT_EQ(o.warpMeshFactor, 100.0f);
    EXPECT_EQ(o.warpMeshRandom, 0);
    EXPECT_EQ(o.warpMeshFollowBrush, 1);
    EXPECT_EQ(o.warpMeshApplyRandom, 0);
    EXPECT_EQ(o.warpMeshPattern, 0);
}

TEST_F(RegistrationTest, ANewStartupRestoresTheDefaults) {
    ASSERT_EQ(startup(), 0);
    g().rotateAngle = 33.0f;
    g().brushShape = 9;
    ASSERT_EQ(shutdown(), 0);
    EXPECT_TRUE(host.palette.empty());  // the tools left with the plug-in
    ASSERT_EQ(startup(), 0);
    EXPECT_EQ(host.palette.size(), 19u);
    EXPECT_EQ(g().rotateAngle, 1.0f);
    EXPECT_EQ(g().brushShape, 0);
}

}  // namespace
}  // namespace smear
