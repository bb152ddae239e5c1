#include "expected_dialogs.h"

namespace smear::expected {

namespace {

#define AT(f) offsetof(Globals, f)

Item label(int id, int l, int t, int r, int b, const char *text) { return {id, Label, l, t, r, b, text, 0, 0, 0, nullptr}; }
Item real(int id, int l, int t, int r, int b, size_t f, double lo, double hi) {
    return {id, FloatField, l, t, r, b, "", f, lo, hi, nullptr};
}
Item whole(int id, int l, int t, int r, int b, size_t f, double lo, double hi) {
    return {id, IntField, l, t, r, b, "", f, lo, hi, nullptr};
}
Item box(int id, int l, int t, int r, int b, const char *text, size_t f) {
    return {id, CheckBox, l, t, r, b, text, f, 0, 0, nullptr};
}
Item popup(int id, int l, int t, int r, int b, size_t f, const List &list) {
    return {id, Popup, l, t, r, b, "", f, 0, 0, &list};
}

List numbered(const char *first, const char *prefix, int last) {
    List list{first};
    for (int n = 1; n <= last; ++n) list.push_back(std::string(prefix) + std::to_string(n));
    return list;
}

const List kShapes = {" Smearcraft brush shape",
                      " Invert region - apply to non brush stroked selected",
                      " Smearcraft frame apply - double size",
                      " Smearcraft rim",
                      " Smearcraft central",
                      " Smearcraft up",
                      " Smearcraft down",
                      " Smearcraft leftright",
                      " Smearcraft rightleft",
                      " Smearcraft reflected1",
                      " Smearcraft reflected2",
                      " Smearcraft diamond",
                      " Smearcraft edge",
                      " Smearcraft hotspot",
                      " Smearcraft grad1",
                      " Smearcraft grad2",
                      " Smearcraft grad3"};
const List kS1 = {" Ignore range", " Limit to min and max (pts)", " Limit to min and max / ignore initial size (pts)"};
const List kV1 = {" Add above to existing transparency",
                  " Randomize transparency from zero to above value",
                  " Set transparency to above value",
                  " Randomize transparency from above value to opaque",
                  " Total random transparency",
                  " Jitter transparency using above"};
const List kV2 = {" Add above to existing stroke weight",
                  " Randomize stroke weight from zero to above value",
                  " Set stroke weight to above value",
                  " Randomize stroke weight from above value to 10pt",
                  " Total randomized stroke weight to 20pt",
                  " Jitter stroke weight using above"};
const List kV3 = {" Add above to existing fill/stroke",
                  " Randomize fill/stroke from zero to above value",
                  " Set fill/stroke to above value",
                  " Randomize fill/stroke from above value to max",
                  " Total randomized fill/stroke",
                  " Jitter fill/stroke using above"};
const List kV4 = {" Add above to existing tint (if there is a tint)",
                  " Randomize tint from zero to above value",
                  " Set tint to above value (if there is a tint)",
                  " Randomize tint from value to max",
                  " Total random tint",
                  " Jitter tint using above"};
const List kG1 = {" Add above to existing angle",       " Randomize angle from zero to above value",
                  " Set angle to above value ",          " Randomize angle from value to 360",
                  " Total random angle",                 " Jitter angle using above",
                  " Ignore angle"};
const List kG2 = {" Add above to existing length",      " Randomize length from zero to above value",
                  " Set length to above value",          " Randomize length from value to 600",
                  " Total random length (600)",          " Jitter length using above",
                  " Ignore length"};
const List kG3 = {" Add above to existing hilite angle", " Randomize hilite angle from zero to above value",
                  " Set hilite angle to above value ",    " Randomize hilite angle from value to 360",
                  " Total random hilite angle",           " Jitter hilite angle using above",
                  " Ignore hilite angle"};
const List kG4 = {" Add above to existing hilite length", " Randomize hilite length from zero to above value",
                  " Set hilite length to above value",     " Randomize hilite length from value to 100",
                  " Total random hilite length (0 to 100)", " Jitter hilite length using above",
                  " Ignore hilite length"};
const List kP1 = {" Add above to existing pattern angle", " Randomize angle from zero to above value",
                  " Set angle to above value ",            " Randomize angle from value to 360",
                  " Total random angle",                   " Jitter angle using above",
                  " Ignore angle"};
const List kP2 = {" Add above to existing scale (horizontal)",
                  " Randomize scale (horizontal) from zero to above value",
                  " Set scale (horizontal) to above value",
                  " Randomize scale (horizontal) from value to 1000%",
                  " Total random scale (horizontal) ( up to 1000%)",
                  " Jitter scale (horizontal) using above",
                  " Ignore scale (horizontal)",
                  " Multiply existing by above scale (horizontal)"};
const List kP3 = {" Add above to existing scale (vertical)",
                  " Randomize scale (vertical) from zero to above value",
                  " Set scale (vertical) to above value",
                  " Randomize scale (vertical) from value to 1000%",
                  " Total random scale (vertical) ( up to 1000%)",
                  " Jitter scale (vertical) using above",
                  " Ignore scale (vertical)",
                  " Multiply existing by above scale (vertical)"};
const List kK = numbered(" No linking between channels set", " Link option ", 28);
const List kT1 = {" Use style listed above", " No change to existing style", " Randomly pick style up to current style",
                  " Change style in sequence", " Totally random graphic style"};
const List kT2 = {" Ignore style factor",
                  " Set style factor to above",
                  " Randomize style factor from 0 to above",
                  " Add above to existing style factor",
                  " Add randomized above to existing style factor",
                  " Existing style factor + above jittered",
                  " Set style factor to default",
                  " Multiply existing by above value"};
const List kB = {" Normal",     " Multiply",   " Screen",     " Overlay",      " Soft Light",
                 " Hard Light", " Colour Dodge", " Colour Burn", " Darken",     " Lighten",
                 " Difference", " Exclusion",  " Hue",        " Saturation",   " Colour",
                 " Luminosity", " Random",     " Normal 50% transparency", " Normal 10% transparency",
                 " Shift Blend by 1"};
const List kC = {" Apply / percentage of current", " Apply / points", " Apply / as entered"};
const List kM1 = numbered(" No mesh pattern", " Pattern ", 8);
const List kM2 = numbered(" No warp mesh pattern", " Pattern ", 8);

const std::vector<Item> kBrush = {
    label(218, 40, 240, 250, 260, " ==== Applied to all plugins ===="),
    label(212, 10, 266, 185, 286, "Brush size (horizontal)"),
    label(213, 10, 288, 185, 308, "Brush size (vertical)"),
    label(214, 10, 310, 185, 330, "Brush slowdown"),
    real(191, 190, 266, 250, 286, AT(brushSizeHorizontal), 0.01, 2000),
    real(192, 190, 288, 250, 308, AT(brushSizeVertical), 0.01, 2000),
    whole(194, 190, 310, 250, 330, AT(brushSlowdown), 0, 200),
    box(193, 10, 338, 250, 352, "Pressure modification", AT(pressureModification)),
    box(196, 10, 355, 250, 369, "Smearcraft size (pressure)", AT(sizeFromPressure)),
    box(190, 10, 372, 250, 386, "Smearcraft outline", AT(showOutline)),
    box(197, 10, 389, 250, 403, "Trail cursor", AT(trailCursor)),
    box(198, 10, 406, 250, 420, "New layer for trail", AT(trailOnNewLayer)),
    popup(195, 10, 430, 250, 450, AT(brushShape), kShapes),
};

const std::vector<ToolDialog> kTools = {
    {"Smearcraft (Scaling)", 3,
     {label(210, 10, 10, 185, 30, "Scale (horizontal)"), label(211, 10, 32, 185, 52, "Scale (vertical)"),
      real(3, 190, 10, 250, 30, AT(scaleHorizontal), -2000, 2000),
      real(4, 190, 32, 250, 52, AT(scaleVertical), -2000, 2000),
      real(5, 10, 58, 70, 78, AT(scaleMinWidth), 0, 30000), real(6, 80, 58, 140, 78, AT(scaleMinHeight), 0, 30000),
      real(7, 10, 80, 70, 100, AT(scaleMaxWidth), 0, 30000), real(8, 80, 80, 140, 100, AT(scaleMaxHeight), 0, 30000),
      popup(9, 150, 68, 250, 88, AT(scaleLimitMode), kS1),
      box(10, 10, 105, 250, 119, "Selected center", AT(scaleSelectedCenter)),
      box(11, 10, 122, 250, 136, "Scale [R]", AT(scaleRandom)),
      box(12, 10, 139, 250, 153, "Apply or not [R]", AT(scaleApplyRandom))}},
    {"Translation", 20,
     {label(210, 10, 10, 185, 30, "Translate (horizontal)"), label(211, 10, 32, 185, 52, "Translate (vertical)"),
      real(20, 190, 10, 250, 30, AT(translateHorizontal), -2000, 2000),
      real(21, 190, 32, 250, 52, AT(translateVertical), -2000, 2000),
      box(22, 10, 55, 250, 69, "Translate [R]", AT(translateRandom)),
      box(24, 10, 72, 250, 86, "Apply [R]", AT(translateApplyRandom)),
      box(23, 10, 89, 250, 103, "Follow brush", AT(translateFollowBrush)),
      box(25, 10, 106, 250, 120, "Translate based on fill", AT(translateBasedOnFill))}},
    {"Rotate", 30,
     {label(210, 10, 10, 185, 30, "Rotate"), real(30, 190, 10, 250, 30, AT(rotateAngle), -360, 360),
      box(31, 10, 33, 250, 47, "Selected center", AT(rotateSelectedCenter)),
      box(32, 10, 50, 250, 64, "Rotate [R]", AT(rotateRandom)),
      box(33, 10, 67, 250, 81, "Rotate based on fill", AT(rotateBasedOnFill))}},
    {"Transparency", 40,
     {label(210, 10, 10, 185, 30, "Transparency"), real(40, 190, 10, 250, 30, AT(transparencyAmount), -100, 100),
      popup(41, 10, 40, 250, 60, AT(transparencyMode), kV1)}},
    {"Stroke Weight", 50,
     {label(210, 10, 10, 185, 30, "Stroke weight"), real(50, 190, 10, 250, 30, AT(strokeWeightAmount), -2000, 2000),
      popup(51, 10, 40, 250, 60, AT(strokeWeightMode), kV2)}},
    {"Brightness / RGB", 60,
     {label(210, 10, 10, 185, 30, "Fill"), real(60, 190, 10, 250, 30, AT(fillIntensityAmount), -2000, 2000),
      box(62, 10, 33, 250, 47, "Apply or not [R]", AT(fillIntensityApplyRandom)),
      box(63, 10, 50, 250, 64, "Apply to fill", AT(fillIntensityApplyToFill)),
      box(64, 10, 67, 250, 81, "Apply to stroke", AT(fillIntensityApplyToStroke)),
      popup(61, 10, 90, 250, 100, AT(fillIntensityMode), kV3)}},
    {"Fill (Channels)", 70,
     {label(210, 10, 10, 185, 30, "Fill"), label(211, 10, 32, 185, 52, "   -- "), label(212, 10, 54, 185, 74, "   -- "),
      label(213, 10, 76, 185, 96, "   -- "), real(70, 190, 10, 250, 30, AT(fillChannel1), -2000, 2000),
      real(71, 190, 32, 250, 52, AT(fillChannel2), -2000, 2000), real(72, 190, 54, 250, 74, AT(fillChannel3), -2000, 2000),
      real(73, 190, 76, 250, 96, AT(fillChannel4), -2000, 2000),
      box(76, 10, 99, 250, 113, "Create swatch", AT(fillChannelsCreateSwatch)),
      box(77, 10, 116, 250, 130, "Apply or not [R]", AT(fillChannelsApplyRandom)),
      box(78, 10, 133, 250, 147, "Apply to fill", AT(fillChannelsApplyToFill)),
      box(79, 10, 150, 250, 167, "Apply to stroke", AT(fillChannelsApplyToStroke)),
      popup(74, 10, 180, 250, 200, AT(fillChannelsMode), kV3), popup(75, 10, 210, 250, 230, AT(fillChannelsLink), kK)}},
    {"Style/Factors", 80,
     {label(210, 10, 10, 185, 30, "Style "), label(211, 10, 32, 185, 52, "Factor"),
      whole(80, 190, 10, 250, 30, AT(styleIndex), 0, kStylesMinusOne),
      real(81, 190, 32, 250, 52, AT(styleFactor), -1000, 1000), popup(82, 10, 60, 250, 80, AT(styleMode), kT1),
      popup(83, 10, 90, 250, 110, AT(styleFactorMode), kT2)}},
    {"Blend Modes", 191, {popup(90, 10, 40, 250, 60, AT(blendMode), kB)}},
    {"Color Reducer", 100,
     {label(210, 10, 10, 185, 30, "Reduce / average"), real(100, 190, 10, 250, 30, AT(colorReducerAmount), -100, 100),
      box(101, 10, 33, 250, 47, "Create swatch", AT(colorReducerCreateSwatch)),
      box(102, 10, 50, 250, 64, "Apply to fill", AT(colorReducerApplyToFill)),
      box(103, 10, 67, 250, 81, "Apply to stroke", AT(colorReducerApplyToStroke))}},
    {"Corner Points", 110,
     {label(210, 10, 10, 185, 30, "Out (horizontal)"), label(211, 10, 32, 185, 52, "Out (vertical)"),
      label(212, 10, 54, 185, 74, "In (horizontal)"), label(213, 10, 76, 185, 96, "In (vertical)"),
      real(110, 190, 10, 250, 30, AT(cornerOutHorizontal), -200, 200),
      real(111, 190, 32, 250, 52, AT(cornerOutVertical), -200, 200),
      real(112, 190, 54, 250, 74, AT(cornerInHorizontal), -200, 200),
      real(113, 190, 76, 250, 96, AT(cornerInVertical), -200, 200), popup(115, 10, 100, 250, 120, AT(cornerApplyMode), kC),
      box(114, 10, 130, 250, 144, "In / Out [R]", AT(cornerRandom))}},
    {"Swatches", 120,
     {label(210, 10, 10, 185, 30, "Swatch"), label(211, 10, 32, 185, 52, "Jitter"),
      label(212, 10, 54, 185, 74, "Ignore / random"), whole(120, 190, 10, 250, 30, AT(swatchIndex), 0, kSwatchCount),
      whole(124, 190, 32, 250, 52, AT(swatchJitter), -10, 10),
      whole(125, 190, 54, 250, 74, AT(swatchIgnoreRandom), 0, kSwatchCount),
      box(121, 10, 77, 250, 91, "Swatch [R]", AT(swatchRandom)),
      box(122, 10, 94, 250, 108, "Apply to fill", AT(swatchApplyToFill)),
      box(123, 10, 111, 250, 125, "Apply to stroke", AT(swatchApplyToStroke))}},
    {"Tint", 130,
     {label(210, 10, 10, 185, 30, "Tint"), real(130, 190, 10, 250, 30, AT(tintAmount), -500, 500),
      box(132, 10, 33, 250, 47, "Apply to fill", AT(tintApplyToFill)),
      box(133, 10, 50, 250, 64, "Apply to stroke", AT(tintApplyToStroke)), popup(131, 10, 74, 250, 94, AT(tintMode), kV4)}},
    {"Gradients", 140,
     {label(210, 10, 10, 185, 30, "Angle"), label(211, 10, 32, 185, 52, "Length"),
      label(212, 10, 54, 185, 74, "Hilite angle"), label(213, 10, 76, 185, 96, "Hilite length"),
      real(140, 190, 10, 250, 30, AT(gradientAngle), -360, 360),
      real(141, 190, 32, 250, 52, AT(gradientLength), -1000, 1000),
      real(144, 190, 54, 250, 74, AT(gradientHiliteAngle), -360, 360),
      real(145, 190, 76, 250, 96, AT(gradientHiliteLength), -100, 100),
      popup(142, 10, 106, 250, 126, AT(gradientAngleMode), kG1),
      popup(143, 10, 136, 250, 156, AT(gradientLengthMode), kG2),
      popup(146, 10, 166, 250, 186, AT(gradientHiliteAngleMode), kG3),
      popup(147, 10, 196, 250, 216, AT(gradientHiliteLengthMode), kG4)}},
    {"Patterns", 150,
     {label(210, 10, 10, 185, 30, "Angle"), label(211, 10, 32, 185, 52, "Scale (horizontal)"),
      label(212, 10, 54, 185, 74, "Scale (vertical)"), real(150, 190, 10, 250, 30, AT(patternAngle), -360, 360),
      real(151, 190, 32, 250, 52, AT(patternScaleHorizontal), -1000, 1000),
      real(152, 190, 54, 250, 74, AT(patternScaleVertical), -1000, 1000),
      popup(153, 10, 84, 250, 104, AT(patternAngleMode), kP1),
      popup(154, 10, 114, 250, 134, AT(patternScaleHorizontalMode), kP2),
      popup(155, 10, 144, 250, 164, AT(patternScaleVerticalMode), kP3)}},
    {"Quick Shrink", 191, {}},
    {"Point Shifter", 160,
     {label(210, 10, 10, 185, 30, "Shift (horizontal)"), label(211, 10, 32, 185, 52, "Shift (vertical)"),
      label(212, 10, 54, 185, 74, "Factor"), real(160, 190, 10, 250, 30, AT(pointShiftHorizontal), -300, 300),
      real(161, 190, 32, 250, 52, AT(pointShiftVertical), -300, 300),
      real(162, 190, 54, 250, 74, AT(pointShifterFactor), 0.01, 600),
      box(163, 10, 77, 250, 91, "Shift [R]", AT(pointShifterRandom)),
      box(164, 10, 94, 250, 108, "Follow brush", AT(pointShifterFollowBrush)),
      box(165, 10, 111, 250, 125, "Apply or not [R]", AT(pointShifterApplyRandom)),
      box(166, 10, 128, 250, 142, "Direction points", AT(pointShifterDirectionPoints)),
      box(167, 10, 145, 250, 159, "Fill factor", AT(pointShifterFillFactor))}},
    {"Gradient Mesh", 168,
     {label(210, 10, 10, 185, 30, "Fill"), label(211, 10, 32, 185, 52, "   -- "), label(212, 10, 54, 185, 74, "   -- "),
      label(213, 10, 76, 185, 96, "   -- "), real(168, 190, 10, 250, 30, AT(meshColorChannel1), -2000, 2000),
      real(169, 190, 32, 250, 52, AT(meshColorChannel2), -2000, 2000),
      real(170, 190, 54, 250, 74, AT(meshColorChannel3), -2000, 2000),
      real(171, 190, 76, 250, 96, AT(meshColorChannel4), -2000, 2000),
      popup(172, 10, 100, 250, 120, AT(meshColorMode), kV3), popup(173, 10, 130, 250, 150, AT(meshColorLink), kK),
      popup(174, 10, 160, 250, 180, AT(meshPattern), kM1)}},
    {"Warp Mesh", 180,
     {label(210, 10, 10, 185, 30, "Shift (horizontal)"), label(211, 10, 32, 185, 52, "Shift (vertical)"),
      label(212, 10, 54, 185, 74, "Factor"), real(180, 190, 10, 250, 30, AT(warpShiftHorizontal), -300, 300),
      real(181, 190, 32, 250, 52, AT(warpShiftVertical), -300, 300),
      real(182, 190, 54, 250, 74, AT(warpMeshFactor), 0.01, 600), popup(186, 10, 80, 250, 100, AT(warpMeshPattern), kM2),
      box(183, 10, 106, 250, 120, "Shift [R]", AT(warpMeshRandom)),
      box(184, 10, 123, 250, 137, "Follow brush", AT(warpMeshFollowBrush)),
      box(185, 10, 140, 250, 154, "Apply or not [R]", AT(warpMeshApplyRandom))}},
};

}  // namespace

const ToolDialog &tool(int k) { return kTools.at(size_t(k)); }
const std::vector<Item> &brushSection() { return kBrush; }

std::vector<Item> allItems(int k) {
    std::vector<Item> items = tool(k).items;
    items.insert(items.end(), kBrush.begin(), kBrush.end());
    items.push_back({1, Button, 50, 470, 130, 490, "OK", 0, 0, 0, nullptr});
    items.push_back({2, Button, 150, 470, 230, 490, "Cancel", 0, 0, 0, nullptr});
    return items;
}

}  // namespace smear::expected
