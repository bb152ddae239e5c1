/* The entries of every popup of the options dialogs; entry i stands for the
   value i of its field. Every text begins with one blank. */
#include "dialog_catalogue.h"

#define LIST(name, entries) const PopupList name = {entries, (ASInt32)(sizeof entries / sizeof entries[0])}

static const char *const kBrushShapes[] = {
    " Smearcraft brush shape",
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
    " Smearcraft grad3",
};
LIST(BrushShapeList, kBrushShapes);

static const char *const kScaleLimit[] = {
    " Ignore range",
    " Limit to min and max (pts)",
    " Limit to min and max / ignore initial size (pts)",
};
LIST(ScaleLimitList, kScaleLimit);

static const char *const kTransparencyModes[] = {
    " Add above to existing transparency",
    " Randomize transparency from zero to above value",
    " Set transparency to above value",
    " Randomize transparency from above value to opaque",
    " Total random transparency",
    " Jitter transparency using above",
};
LIST(TransparencyModeList, kTransparencyModes);

static const char *const kStrokeWeightModes[] = {
    " Add above to existing stroke weight",
    " Randomize stroke weight from zero to above value",
    " Set stroke weight to above value",
    " Randomize stroke weight from above value to 10pt",
    " Total randomized stroke weight to 20pt",
    " Jitter stroke weight using above",
};
LIST(StrokeWeightModeList, kStrokeWeightModes);

static const char *const kFillModes[] = {
    " Add above to existing fill/stroke",
    " Randomize fill/stroke from zero to above value",
    " Set fill/stroke to above value",
    " Randomize fill/stroke from above value to max",
    " Total randomized fill/stroke",
    " Jitter fill/stroke using above",
};
LIST(FillModeList, kFillModes);

static const char *const kTintModes[] = {
    " Add above to existing tint (if there is a tint)",
    " Randomize tint from zero to above value",
    " Set tint to above value (if there is a tint)",
    " Randomize tint from value to max",
    " Total random tint",
    " Jitter tint using above",
};
LIST(TintModeList, kTintModes);

static const char *const kGradientAngleModes[] = {
    " Add above to existing angle",
    " Randomize angle from zero to above value",
    " Set angle to above value ",
    " Randomize angle from value to 360",
    " Total random angle",
    " Jitter angle using above",
    " Ignore angle",
};
LIST(GradientAngleModeList, kGradientAngleModes);

static const char *const kGradientLengthModes[] = {
    " Add above to existing length",
    " Randomize length from zero to above value",
    " Set length to above value",
    " Randomize length from value to 600",
    " Total random length (600)",
    " Jitter length using above",
    " Ignore length",
};
LIST(GradientLengthModeList, kGradientLengthModes);

static const char *const kHiliteAngleModes[] = {
    " Add above to existing hilite angle",
    " Randomize hilite angle from zero to above value",
    " Set hilite angle to above value ",
    " Randomize hilite angle from value to 360",
    " Total random hilite angle",
    " Jitter hilite angle using above",
    " Ignore hilite angle",
};
LIST(HiliteAngleModeList, kHiliteAngleModes);

static const char *const kHiliteLengthModes[] = {
    " Add above to existing hilite length",
    " Randomize hilite length from zero to above value",
    " Set hilite length to above value",
    " Randomize hilite length from value to 100",
    " Total random hilite length (0 to 100)",
    " Jitter hilite length using above",
    " Ignore hilite length",
};
LIST(HiliteLengthModeList, kHiliteLengthModes);

static const char *const kPatternAngleModes[] = {
    " Add above to existing pattern angle",
    " Randomize angle from zero to above value",
    " Set angle to above value ",
    " Randomize angle from value to 360",
    " Total random angle",
    " Jitter angle using above",
    " Ignore angle",
};
LIST(PatternAngleModeList, kPatternAngleModes);

static const char *const kPatternScaleHModes[] = {
    " Add above to existing scale (horizontal)",
    " Randomize scale (horizontal) from zero to above value",
    " Set scale (horizontal) to above value",
    " Randomize scale (horizontal) from value to 1000%",
    " Total random scale (horizontal) ( up to 1000%)",
    " Jitter scale (horizontal) using above",
    " Ignore scale (horizontal)",
    " Multiply existing by above scale (horizontal)",
};
LIST(PatternScaleHModeList, kPatternScaleHModes);

static const char *const kPatternScaleVModes[] = {
    " Add above to existing scale (vertical)",
    " Randomize scale (vertical) from zero to above value",
    " Set scale (vertical) to above value",
    " Randomize scale (vertical) from value to 1000%",
    " Total random scale (vertical) ( up to 1000%)",
    " Jitter scale (vertical) using above",
    " Ignore scale (vertical)",
    " Multiply existing by above scale (vertical)",
};
LIST(PatternScaleVModeList, kPatternScaleVModes);

static const char *const kChannelLinks[] = {
    " No linking between channels set",
    " Link option 1",  " Link option 2",  " Link option 3",  " Link option 4",  " Link option 5",
    " Link option 6",  " Link option 7",  " Link option 8",  " Link option 9",  " Link option 10",
    " Link option 11", " Link option 12", " Link option 13", " Link option 14", " Link option 15",
    " Link option 16", " Link option 17", " Link option 18", " Link option 19", " Link option 20",
    " Link option 21", " Link option 22", " Link option 23", " Link option 24", " Link option 25",
    " Link option 26", " Link option 27", " Link option 28",
};
LIST(ChannelLinkList, kChannelLinks);

static const char *const kStyleModes[] = {
    " Use style listed above",
    " No change to existing style",
    " Randomly pick style up to current style",
    " Change style in sequence",
    " Totally random graphic style",
};
LIST(StyleModeList, kStyleModes);

static const char *const kStyleFactorModes[] = {
    " Ignore style factor",
    " Set style factor to above",
    " Randomize style factor from 0 to above",
    " Add above to existing style factor",
    " Add randomized above to existing style factor",
    " Existing style factor + above jittered",
    " Set style factor to default",
    " Multiply existing by above value",
};
LIST(StyleFactorModeList, kStyleFactorModes);

static const char *const kBlendModes[] = {
    " Normal",     " Multiply",   " Screen",       " Overlay",    " Soft Light",
    " Hard Light", " Colour Dodge", " Colour Burn", " Darken",     " Lighten",
    " Difference", " Exclusion",  " Hue",          " Saturation", " Colour",
    " Luminosity", " Random",     " Normal 50% transparency", " Normal 10% transparency", " Shift Blend by 1",
};
LIST(BlendModeList, kBlendModes);

static const char *const kCornerApply[] = {
    " Apply / percentage of current",
    " Apply / points",
    " Apply / as entered",
};
LIST(CornerApplyList, kCornerApply);

static const char *const kMeshPatterns[] = {
    " No mesh pattern", " Pattern 1", " Pattern 2", " Pattern 3", " Pattern 4",
    " Pattern 5",       " Pattern 6", " Pattern 7", " Pattern 8",
};
LIST(MeshPatternList, kMeshPatterns);

static const char *const kWarpPatterns[] = {
    " No warp mesh pattern", " Pattern 1", " Pattern 2", " Pattern 3", " Pattern 4",
    " Pattern 5",            " Pattern 6", " Pattern 7", " Pattern 8",
};
LIST(WarpPatternList, kWarpPatterns);
