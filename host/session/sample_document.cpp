#include "sample_document.h"

namespace smear {

const nlohmann::json &sampleDocument() {
    static const nlohmann::json doc = nlohmann::json::parse(R"json({
  "size": [520, 320],
  "customColors": [ {"name": "Spot Teal", "color": "cmyk:0.85,0.1,0.4,0"} ],
  "gradients": [ {"name": "Sunset", "stops": [[0, "#f9c80e"], [0.5, "#f86624"], [1, "#662e9b"]]} ],
  "patterns": [ {"name": "Dots", "tile": [0, 0, 8, 8], "color": "#43bccd"} ],
  "swatches": [
    {"name": "White", "color": "#ffffff"},
    {"name": "Black", "color": "gray:1"},
    {"name": "Tomato", "color": "#e4572e"},
    {"name": "Sky", "color": "#2e86ab"},
    {"name": "Leaf", "color": "cmyk:0.6,0,0.9,0.1"},
    {"name": "Sun", "color": "#f9c80e"},
    {"name": "Spot Teal", "color": "custom:Spot Teal"}
  ],
  "graphicStyles": [
    {"name": "Outline", "fill": "none", "stroke": "#222222", "strokeWidth": 3},
    {"name": "Soft Blue", "fill": "#a5c8e4", "stroke": "#2e86ab", "strokeWidth": 1, "opacity": 0.8},
    {"name": "Heavy Ink", "fill": "gray:0.8", "stroke": "gray:1", "strokeWidth": 6}
  ],
  "objects": [
    {"type": "path", "id": "tomato-box", "rect": [16, 110, 52, 100], "fill": "#e4572e", "stroke": "#222222", "strokeWidth": 2},
    {"type": "path", "id": "sunset-oval", "ellipse": [108, 160, 30, 50], "fill": "gradient:Sunset", "stroke": "#662e9b", "strokeWidth": 1.5},
    {"type": "compound", "id": "ring", "fill": "#2e86ab", "stroke": "#1b4f66", "strokeWidth": 1,
     "children": [
       {"type": "path", "id": "ring-outer", "ellipse": [184, 160, 40, 40]},
       {"type": "path", "id": "ring-inner", "ellipse": [184, 160, 18, 18]}
     ]},
    {"type": "mesh", "id": "mesh", "rect": [236, 112, 80, 96], "patches": [2, 2],
     "colors": ["#f94144", "#f9c74f", "#90be6d", "#f8961e", "#ffffff", "#43aa8b", "#f3722c", "#577590", "#277da1"]},
    {"type": "group", "id": "trio",
     "children": [
       {"type": "path", "id": "trio-triangle", "points": [[330, 204], [362, 118], [394, 204]], "closed": true,
        "fill": "custom:Spot Teal@0.2", "stroke": "#0b3d3a", "strokeWidth": 1},
       {"type": "path", "id": "trio-dots", "ellipse": [362, 182, 14, 14], "fill": "pattern:Dots", "stroke": "#43bccd"},
       {"type": "path", "id": "trio-zigzag", "points": [[328, 126], [344, 142], [360, 126], [376, 142], [392, 126]],
        "fill": "none", "stroke": "gray:0.7", "strokeWidth": 3}
     ]},
    {"type": "text", "id": "word", "text": "Smear", "at": [406, 172], "size": 26, "fill": "cmyk:0,0.7,0.9,0.2", "stroke": "none"}
  ]
})json");
    return doc;
}

}  // namespace smear
