#include "tool_table.h"

const ToolRow ToolTable[kToolCount] = {
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
