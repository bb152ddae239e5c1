/* Every dialog's items: id, kind, rectangle (left, top, right, bottom), text,
   field, limits and popup list, in the order in which they are created. */
#include "dialog_catalogue.h"

#define FIELD(f) offsetof(Globals, f)
#define LABEL(id, l, t, r, b, text) {id, kLabelItem, {l, t, r, b}, text, 0, 0, 0, kFixedLimit, NULL}
#define FLOAT(id, l, t, r, b, f, lo, hi) {id, kFloatFieldItem, {l, t, r, b}, NULL, FIELD(f), lo, hi, kFixedLimit, NULL}
#define INT(id, l, t, r, b, f, lo, hi, source) {id, kIntFieldItem, {l, t, r, b}, NULL, FIELD(f), lo, hi, source, NULL}
#define CHECK(id, l, t, r, b, text, f) {id, kCheckBoxItem, {l, t, r, b}, text, FIELD(f), 0, 0, kFixedLimit, NULL}
#define POPUP(id, l, t, r, b, f, list) {id, kPopupItem, {l, t, r, b}, NULL, FIELD(f), 0, 0, kFixedLimit, &list}
#define TOOL(items, focus) {items, (ASInt32)(sizeof items / sizeof items[0]), focus}

const DialogItemSpec BrushSection[] = {
    LABEL(218, 40, 240, 250, 260, " ==== Applied to all plugins ===="),
    LABEL(212, 10, 266, 185, 286, "Brush size (horizontal)"),
    LABEL(213, 10, 288, 185, 308, "Brush size (vertical)"),
    LABEL(214, 10, 310, 185, 330, "Brush slowdown"),
    FLOAT(191, 190, 266, 250, 286, brushSizeHorizontal, 0.01f, 2000.0f),
    FLOAT(192, 190, 288, 250, 308, brushSizeVertical, 0.01f, 2000.0f),
    INT(194, 190, 310, 250, 330, brushSlowdown, 0, 200, kFixedLimit),
    CHECK(193, 10, 338, 250, 352, "Pressure modification", pressureModification),
    CHECK(196, 10, 355, 250, 369, "Smearcraft size (pressure)", sizeFromPressure),
    CHECK(190, 10, 372, 250, 386, "Smearcraft outline", showOutline),
    CHECK(197, 10, 389, 250, 403, "Trail cursor", trailCursor),
    CHECK(198, 10, 406, 250, 420, "New layer for trail", trailOnNewLayer),
    POPUP(195, 10, 430, 250, 450, brushShape, BrushShapeList),
};
const ASInt32 BrushSectionCount = (ASInt32)(sizeof BrushSection / sizeof BrushSection[0]);

/* The four limit fields of Scaling form an unlabelled grid with the popup to
   their right. */
static const DialogItemSpec kScalingItems[] = {
    LABEL(210, 10, 10, 185, 30, "Scale (horizontal)"),
    LABEL(211, 10, 32, 185, 52, "Scale (vertical)"),
    FLOAT(3, 190, 10, 250, 30, scaleHorizontal, -2000.0f, 2000.0f),
    FLOAT(4, 190, 32, 250, 52, scaleVertical, -2000.0f, 2000.0f),
    FLOAT(5, 10, 58, 70, 78, scaleMinWidth, 0.0f, 30000.0f),
    FLOAT(6, 80, 58, 140, 78, scaleMinHeight, 0.0f, 30000.0f),
    FLOAT(7, 10, 80, 70, 100, scaleMaxWidth, 0.0f, 30000.0f),
    FLOAT(8, 80, 80, 140, 100, scaleMaxHeight, 0.0f, 30000.0f),
    POPUP(9, 150, 68, 250, 88, scaleLimitMode, ScaleLimitList),
    CHECK(10, 10, 105, 250, 119, "Selected center", scaleSelectedCenter),
    CHECK(11, 10, 122, 250, 136, "Scale [R]", scaleRandom),
    CHECK(12, 10, 139, 250, 153, "Apply or not [R]", scaleApplyRandom),
};

static const DialogItemSpec kTranslateItems[] = {
    LABEL(210, 10, 10, 185, 30, "Translate (horizontal)"),
    LABEL(211, 10, 32, 185, 52, "Translate (vertical)"),
    FLOAT(20, 190, 10, 250, 30, translateHorizontal, -2000.0f, 2000.0f),
    FLOAT(21, 190, 32, 250, 52, translateVertical, -2000.0f, 2000.0f),
    CHECK(22, 10, 55, 250, 69, "Translate [R]", translateRandom),
    CHECK(24, 10, 72, 250, 86, "Apply [R]", translateApplyRandom),
    CHECK(23, 10, 89, 250, 103, "Follow brush", translateFollowBrush),
    CHECK(25, 10, 106, 250, 120, "Translate based on fill", translateBasedOnFill),
};

static const DialogItemSpec kRotateItems[] = {
    LABEL(210, 10, 10, 185, 30, "Rotate"),
    FLOAT(30, 190, 10, 250, 30, rotateAngle, -360.0f, 360.0f),
    CHECK(31, 10, 33, 250, 47, "Selected center", rotateSelectedCenter),
    CHECK(32, 10, 50, 250, 64, "Rotate [R]", rotateRandom),
    CHECK(33, 10, 67, 250, 81, "Rotate based on fill", rotateBasedOnFill),
};

static const DialogItemSpec kTransparencyItems[] = {
    LABEL(210, 10, 10, 185, 30, "Transparency"),
    FLOAT(40, 190, 10, 250, 30, transparencyAmount, -100.0f, 100.0f),
    POPUP(41, 10, 40, 250, 60, transparencyMode, TransparencyModeList),
};

static const DialogItemSpec kStrokeWeightItems[] = {
    LABEL(210, 10, 10, 185, 30, "Stroke weight"),
    FLOAT(50, 190, 10, 250, 30, strokeWeightAmount, -2000.0f, 2000.0f),
    POPUP(51, 10, 40, 250, 60, strokeWeightMode, StrokeWeightModeList),
};

/* Its popup is 10 high. */
static const DialogItemSpec kFillIntensityItems[] = {
    LABEL(210, 10, 10, 185, 30, "Fill"),
    FLOAT(60, 190, 10, 250, 30, fillIntensityAmount, -2000.0f, 2000.0f),
    CHECK(62, 10, 33, 250, 47, "Apply or not [R]", fillIntensityApplyRandom),
    CHECK(63, 10, 50, 250, 64, "Apply to fill", fillIntensityApplyToFill),
    CHECK(64, 10, 67, 250, 81, "Apply to stroke", fillIntensityApplyToStroke),
    POPUP(61, 10, 90, 250, 100, fillIntensityMode, FillModeList),
};

/* Its last check box is 17 high. */
static const DialogItemSpec kFillChannelsItems[] = {
    LABEL(210, 10, 10, 185, 30, "Fill"),
    LABEL(211, 10, 32, 185, 52, "   -- "),
    LABEL(212, 10, 54, 185, 74, "   -- "),
    LABEL(213, 10, 76, 185, 96, "   -- "),
    FLOAT(70, 190, 10, 250, 30, fillChannel1, -2000.0f, 2000.0f),
    FLOAT(71, 190, 32, 250, 52, fillChannel2, -2000.0f, 2000.0f),
    FLOAT(72, 190, 54, 250, 74, fillChannel3, -2000.0f, 2000.0f),
    FLOAT(73, 190, 76, 250, 96, fillChannel4, -2000.0f, 2000.0f),
    CHECK(76, 10, 99, 250, 113, "Create swatch", fillChannelsCreateSwatch),
    CHECK(77, 10, 116, 250, 130, "Apply or not [R]", fillChannelsApplyRandom),
    CHECK(78, 10, 133, 250, 147, "Apply to fill", fillChannelsApplyToFill),
    CHECK(79, 10, 150, 250, 167, "Apply to stroke", fillChannelsApplyToStroke),
    POPUP(74, 10, 180, 250, 200, fillChannelsMode, FillModeList),
    POPUP(75, 10, 210, 250, 230, fillChannelsLink, ChannelLinkList),
};

/* The style number's maximum is the count of named styles - 1, or 10 when
   they cannot be counted. */
static const DialogItemSpec kStylesItems[] = {
    LABEL(210, 10, 10, 185, 30, "Style "),
    LABEL(211, 10, 32, 185, 52, "Factor"),
    INT(80, 190, 10, 250, 30, styleIndex, 0, 10, kStyleCountLimit),
    FLOAT(81, 190, 32, 250, 52, styleFactor, -1000.0f, 1000.0f),
    POPUP(82, 10, 60, 250, 80, styleMode, StyleModeList),
    POPUP(83, 10, 90, 250, 110, styleFactorMode, StyleFactorModeList),
};

/* The popup has no label. */
static const DialogItemSpec kBlendModeItems[] = {
    POPUP(90, 10, 40, 250, 60, blendMode, BlendModeList),
};

static const DialogItemSpec kColorReducerItems[] = {
    LABEL(210, 10, 10, 185, 30, "Reduce / average"),
    FLOAT(100, 190, 10, 250, 30, colorReducerAmount, -100.0f, 100.0f),
    CHECK(101, 10, 33, 250, 47, "Create swatch", colorReducerCreateSwatch),
    CHECK(102, 10, 50, 250, 64, "Apply to fill", colorReducerApplyToFill),
    CHECK(103, 10, 67, 250, 81, "Apply to stroke", colorReducerApplyToStroke),
};

static const DialogItemSpec kCornerPointsItems[] = {
    LABEL(210, 10, 10, 185, 30, "Out (horizontal)"),
    LABEL(211, 10, 32, 185, 52, "Out (vertical)"),
    LABEL(212, 10, 54, 185, 74, "In (horizontal)"),
    LABEL(213, 10, 76, 185, 96, "In (vertical)"),
    FLOAT(110, 190, 10, 250, 30, cornerOutHorizontal, -200.0f, 200.0f),
    FLOAT(111, 190, 32, 250, 52, cornerOutVertical, -200.0f, 200.0f),
    FLOAT(112, 190, 54, 250, 74, cornerInHorizontal, -200.0f, 200.0f),
    FLOAT(113, 190, 76, 250, 96, cornerInVertical, -200.0f, 200.0f),
    POPUP(115, 10, 100, 250, 120, cornerApplyMode, CornerApplyList),
    CHECK(114, 10, 130, 250, 144, "In / Out [R]", cornerRandom),
};

/* Swatch and ignore numbers run up to the number of swatches itself. */
static const DialogItemSpec kSwatchesItems[] = {
    LABEL(210, 10, 10, 185, 30, "Swatch"),
    LABEL(211, 10, 32, 185, 52, "Jitter"),
    LABEL(212, 10, 54, 185, 74, "Ignore / random"),
    INT(120, 190, 10, 250, 30, swatchIndex, 0, 0, kSwatchCountLimit),
    INT(124, 190, 32, 250, 52, swatchJitter, -10, 10, kFixedLimit),
    INT(125, 190, 54, 250, 74, swatchIgnoreRandom, 0, 0, kSwatchCountLimit),
    CHECK(121, 10, 77, 250, 91, "Swatch [R]", swatchRandom),
    CHECK(122, 10, 94, 250, 108, "Apply to fill", swatchApplyToFill),
    CHECK(123, 10, 111, 250, 125, "Apply to stroke", swatchApplyToStroke),
};

static const DialogItemSpec kTintItems[] = {
    LABEL(210, 10, 10, 185, 30, "Tint"),
    FLOAT(130, 190, 10, 250, 30, tintAmount, -500.0f, 500.0f),
    CHECK(132, 10, 33, 250, 47, "Apply to fill", tintApplyToFill),
    CHECK(133, 10, 50, 250, 64, "Apply to stroke", tintApplyToStroke),
    POPUP(131, 10, 74, 250, 94, tintMode, TintModeList),
};

static const DialogItemSpec kGradientItems[] = {
    LABEL(210, 10, 10, 185, 30, "Angle"),
    LABEL(211, 10, 32, 185, 52, "Length"),
    LABEL(212, 10, 54, 185, 74, "Hilite angle"),
    LABEL(213, 10, 76, 185, 96, "Hilite length"),
    FLOAT(140, 190, 10, 250, 30, gradientAngle, -360.0f, 360.0f),
    FLOAT(141, 190, 32, 250, 52, gradientLength, -1000.0f, 1000.0f),
    FLOAT(144, 190, 54, 250, 74, gradientHiliteAngle, -360.0f, 360.0f),
    FLOAT(145, 190, 76, 250, 96, gradientHiliteLength, -100.0f, 100.0f),
    POPUP(142, 10, 106, 250, 126, gradientAngleMode, GradientAngleModeList),
    POPUP(143, 10, 136, 250, 156, gradientLengthMode, GradientLengthModeList),
    POPUP(146, 10, 166, 250, 186, gradientHiliteAngleMode, HiliteAngleModeList),
    POPUP(147, 10, 196, 250, 216, gradientHiliteLengthMode, HiliteLengthModeList),
};

static const DialogItemSpec kPatternItems[] = {
    LABEL(210, 10, 10, 185, 30, "Angle"),
    LABEL(211, 10, 32, 185, 52, "Scale (horizontal)"),
    LABEL(212, 10, 54, 185, 74, "Scale (vertical)"),
    FLOAT(150, 190, 10, 250, 30, patternAngle, -360.0f, 360.0f),
    FLOAT(151, 190, 32, 250, 52, patternScaleHorizontal, -1000.0f, 1000.0f),
    FLOAT(152, 190, 54, 250, 74, patternScaleVertical, -1000.0f, 1000.0f),
    POPUP(153, 10, 84, 250, 104, patternAngleMode, PatternAngleModeList),
    POPUP(154, 10, 114, 250, 134, patternScaleHorizontalMode, PatternScaleHModeList),
    POPUP(155, 10, 144, 250, 164, patternScaleVerticalMode, PatternScaleVModeList),
};

static const DialogItemSpec kPointShifterItems[] = {
    LABEL(210, 10, 10, 185, 30, "Shift (horizontal)"),
    LABEL(211, 10, 32, 185, 52, "Shift (vertical)"),
    LABEL(212, 10, 54, 185, 74, "Factor"),
    FLOAT(160, 190, 10, 250, 30, pointShiftHorizontal, -300.0f, 300.0f),
    FLOAT(161, 190, 32, 250, 52, pointShiftVertical, -300.0f, 300.0f),
    FLOAT(162, 190, 54, 250, 74, pointShifterFactor, 0.01f, 600.0f),
    CHECK(163, 10, 77, 250, 91, "Shift [R]", pointShifterRandom),
    CHECK(164, 10, 94, 250, 108, "Follow brush", pointShifterFollowBrush),
    CHECK(165, 10, 111, 250, 125, "Apply or not [R]", pointShifterApplyRandom),
    CHECK(166, 10, 128, 250, 142, "Direction points", pointShifterDirectionPoints),
    CHECK(167, 10, 145, 250, 159, "Fill factor", pointShifterFillFactor),
};

static const DialogItemSpec kGradientMeshItems[] = {
    LABEL(210, 10, 10, 185, 30, "Fill"),
    LABEL(211, 10, 32, 185, 52, "   -- "),
    LABEL(212, 10, 54, 185, 74, "   -- "),
    LABEL(213, 10, 76, 185, 96, "   -- "),
    FLOAT(168, 190, 10, 250, 30, meshColorChannel1, -2000.0f, 2000.0f),
    FLOAT(169, 190, 32, 250, 52, meshColorChannel2, -2000.0f, 2000.0f),
    FLOAT(170, 190, 54, 250, 74, meshColorChannel3, -2000.0f, 2000.0f),
    FLOAT(171, 190, 76, 250, 96, meshColorChannel4, -2000.0f, 2000.0f),
    POPUP(172, 10, 100, 250, 120, meshColorMode, FillModeList),
    POPUP(173, 10, 130, 250, 150, meshColorLink, ChannelLinkList),
    POPUP(174, 10, 160, 250, 180, meshPattern, MeshPatternList),
};

static const DialogItemSpec kWarpMeshItems[] = {
    LABEL(210, 10, 10, 185, 30, "Shift (horizontal)"),
    LABEL(211, 10, 32, 185, 52, "Shift (vertical)"),
    LABEL(212, 10, 54, 185, 74, "Factor"),
    FLOAT(180, 190, 10, 250, 30, warpShiftHorizontal, -300.0f, 300.0f),
    FLOAT(181, 190, 32, 250, 52, warpShiftVertical, -300.0f, 300.0f),
    FLOAT(182, 190, 54, 250, 74, warpMeshFactor, 0.01f, 600.0f),
    POPUP(186, 10, 80, 250, 100, warpMeshPattern, WarpPatternList),
    CHECK(183, 10, 106, 250, 120, "Shift [R]", warpMeshRandom),
    CHECK(184, 10, 123, 250, 137, "Follow brush", warpMeshFollowBrush),
    CHECK(185, 10, 140, 250, 154, "Apply or not [R]", warpMeshApplyRandom),
};

/* Indexed by ToolId. Blend mode and Quick shrink focus the brush size. */
const ToolDialogSpec ToolDialogs[kToolCount] = {
    TOOL(kScalingItems, 3),
    TOOL(kTranslateItems, 20),
    TOOL(kRotateItems, 30),
    TOOL(kTransparencyItems, 40),
    TOOL(kStrokeWeightItems, 50),
    TOOL(kFillIntensityItems, 60),
    TOOL(kFillChannelsItems, 70),
    TOOL(kStylesItems, 80),
    TOOL(kBlendModeItems, 191),
    TOOL(kColorReducerItems, 100),
    TOOL(kCornerPointsItems, 110),
    TOOL(kSwatchesItems, 120),
    TOOL(kTintItems, 130),
    TOOL(kGradientItems, 140),
    TOOL(kPatternItems, 150),
    {NULL, 0, 191}, /* Quick shrink: the brush section only */
    TOOL(kPointShifterItems, 160),
    TOOL(kGradientMeshItems, 168),
    TOOL(kWarpMeshItems, 180),
};
