#include "sample_document.h"

namespace smear {

// The demo's drawing. A locked backdrop of pale bands, which no tool reaches,
// shows what the blend modes do; the middle row lies under the demo's brush
// stroke, the top and bottom rows lie outside it, so that the pictures show
// that only what the brush touched changed. Between them the rows hold every
// kind of paint the tools work on: process, RGB and gray colours, custom
// colours with tints, a linear and a radial gradient, a pattern, named
// styles, blend modes, a compound path, a gradient mesh and text.
const nlohmann::json &sampleDocument() {
    static const nlohmann::json doc = nlohmann::json::parse(R"json({
  "size": [520, 320],
  "customColors": [
    {"name": "Spot Teal", "color": "cmyk:0.85,0.1,0.4,0"},
    {"name": "Spot Plum", "color": "cmyk:0.5,0.9,0.1,0.1"}
  ],
  "gradients": [
    {"name": "Sunset", "stops": [[0, "#f9c80e"], [0.5, "#f86624"], [1, "#662e9b"]]},
    {"name": "Glow", "radial": true, "stops": [[0, "#ffffff"], [0.6, "#43bccd"], [1, "#1b4f66"]]}
  ],
  "patterns": [ {"name": "Dots", "tile": [0, 0, 8, 8], "color": "#43bccd"} ],
  "swatches": [
    {"name": "White", "color": "#ffffff"},
    {"name": "Black", "color": "gray:1"},
    {"name": "Tomato", "color": "#e4572e"},
    {"name": "Sky", "color": "#2e86ab"},
    {"name": "Leaf", "color": "cmyk:0.6,0,0.9,0.1"},
    {"name": "Sun", "color": "#f9c80e"},
    {"name": "Spot Teal", "color": "custom:Spot Teal"},
    {"name": "Spot Plum half", "color": "custom:Spot Plum@0.5"},
    {"name": "Mid gray", "color": "gray:0.5"}
  ],
  "graphicStyles": [
    {"name": "Outline", "fill": "none", "stroke": "#222222", "strokeWidth": 3},
    {"name": "Soft Blue", "fill": "#a5c8e4", "stroke": "#2e86ab", "strokeWidth": 1, "opacity": 0.8},
    {"name": "Heavy Ink", "fill": "gray:0.8", "stroke": "gray:1", "strokeWidth": 6}
  ],
  "layers": [
    {"name": "Backdrop", "locked": true, "objects": [
      {"type": "path", "id": "band-blue", "rect": [0, 0, 174, 320], "fill": "#dbeaf5", "stroke": "none"},
      {"type": "path", "id": "band-rose", "rect": [174, 0, 173, 320], "fill": "#f7dede", "stroke": "none"},
      {"type": "path", "id": "band-mint", "rect": [347, 0, 173, 320], "fill": "#def2e0", "stroke": "none"}
    ]},
    {"name": "Artwork", "current": true, "objects": [
      {"type": "path", "id": "top-process", "rect": [16, 22, 60, 48], "fill": "cmyk:0.1,0.7,0.9,0", "stroke": "gray:0.9", "strokeWidth": 1.5},
      {"type": "path", "id": "top-glow", "ellipse": [124, 46, 34, 24], "fill": "gradient:Glow", "stroke": "none"},
      {"type": "path", "id": "top-dots", "rect": [176, 22, 60, 48], "fill": "pattern:Dots", "stroke": "#1b4f66"},
      {"type": "path", "id": "top-spot", "ellipse": [282, 46, 28, 24], "fill": "custom:Spot Plum@0.3", "stroke": "custom:Spot Plum", "strokeWidth": 2},
      {"type": "path", "id": "top-styled", "rect": [330, 22, 60, 48], "fill": "#a5c8e4", "stroke": "#2e86ab", "strokeWidth": 1, "opacity": 0.8, "style": "Soft Blue"},
      {"type": "path", "id": "top-multiply", "ellipse": [440, 46, 30, 24], "fill": "#f9c74f", "stroke": "none", "blend": 1},

      {"type": "path", "id": "tomato-box", "rect": [16, 110, 52, 100], "fill": "#e4572e", "stroke": "#222222", "strokeWidth": 2},
      {"type": "path", "id": "sky-disc", "ellipse": [64, 186, 22, 22], "fill": "#2e86ab", "stroke": "none", "blend": 1},
      {"type": "path", "id": "sunset-oval", "ellipse": [118, 160, 28, 48], "fill": "gradient:Sunset", "stroke": "#662e9b", "strokeWidth": 1.5},
      {"type": "compound", "id": "ring", "fill": "cmyk:0.8,0.3,0,0.1", "stroke": "#1b4f66", "strokeWidth": 1,
       "children": [
         {"type": "path", "id": "ring-outer", "ellipse": [190, 160, 38, 38]},
         {"type": "path", "id": "ring-inner", "ellipse": [190, 160, 17, 17]}
       ]},
      {"type": "mesh", "id": "mesh", "rect": [236, 110, 76, 100], "patches": [4, 4],
       "colors": ["#f94144", "#f3722c", "#f8961e", "#f9c74f", "#90be6d", "#43aa8b"]},
      {"type": "group", "id": "trio",
       "children": [
         {"type": "path", "id": "trio-triangle", "points": [[320, 204], [350, 118], [380, 204]], "closed": true,
          "fill": "custom:Spot Teal@0.2", "stroke": "#0b3d3a", "strokeWidth": 1},
         {"type": "path", "id": "trio-dots", "ellipse": [350, 182, 14, 14], "fill": "pattern:Dots", "stroke": "#43bccd"},
         {"type": "path", "id": "trio-zigzag", "points": [[318, 126], [334, 142], [350, 126], [366, 142], [382, 126]],
          "fill": "none", "stroke": "gray:0.7", "strokeWidth": 3}
       ]},
      {"type": "path", "id": "glow-disc", "ellipse": [420, 140, 26, 26], "fill": "gradient:Glow", "stroke": "none", "blend": 2},
      {"type": "path", "id": "dots-box", "rect": [452, 114, 54, 46], "fill": "pattern:Dots", "stroke": "gray:0.8", "strokeWidth": 1},
      {"type": "path", "id": "ink-dot", "ellipse": [486, 186, 16, 16], "fill": "gray:0.45", "stroke": "none"},
      {"type": "text", "id": "word", "text": "Smear", "at": [400, 202], "size": 26, "fill": "cmyk:0,0.7,0.9,0.2", "stroke": "none"},

      {"type": "path", "id": "bottom-rgb", "rect": [16, 250, 60, 48], "fill": "#90be6d", "stroke": "#2d6a4f", "strokeWidth": 2},
      {"type": "path", "id": "bottom-sunset", "rect": [94, 250, 60, 48], "fill": "gradient:Sunset", "stroke": "none"},
      {"type": "path", "id": "bottom-teal", "ellipse": [204, 274, 30, 24], "fill": "custom:Spot Teal@0.5", "stroke": "none"},
      {"type": "compound", "id": "bottom-frame", "fill": "cmyk:0,0.3,0.9,0", "stroke": "none",
       "children": [
         {"type": "path", "id": "frame-outer", "rect": [254, 250, 60, 48]},
         {"type": "path", "id": "frame-inner", "rect": [266, 260, 36, 28]}
       ]},
      {"type": "path", "id": "bottom-gray", "ellipse": [362, 274, 28, 24], "fill": "gray:0.6", "stroke": "gray:0.2", "strokeWidth": 1, "blend": 10},
      {"type": "path", "id": "bottom-dots", "rect": [414, 250, 76, 48], "fill": "pattern:Dots", "stroke": "none"}
    ]}
  ]
})json");
    return doc;
}

}  // namespace smear
