#include "dialog_svg.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "dialog_manager.h"
#include "xml_out.h"

namespace smear {

namespace {

// Frame metrics, pixels.
constexpr int kMargin = 8;    // around the window, for its shadow
constexpr int kBorder = 3;    // window border
constexpr int kTitle = 22;    // title bar
constexpr double kFontSize = 11;
constexpr double kCharWidth = 5.6;
constexpr double kPopupLine = 18;  // average advance of the 11-pixel sans face

const char kFont[] = "'MS Sans Serif', Tahoma, Arial, 'Liberation Sans', Helvetica, sans-serif";

// Dialog texts go into both element text and attributes.
std::string escape(const std::string &text) { return XmlOut::escape(text, true); }

class Painter {
public:
    Painter(int ox, int oy) : ox_(ox), oy_(oy) {}

    std::ostringstream defs, body;

    // A clip region for one item's content.
    std::string clip(double x, double y, double w, double h) {
        const std::string id = "clip" + std::to_string(clips_++);
        defs << "<clipPath id=\"" << id << "\"><rect x=\"" << X(x) << "\" y=\"" << Y(y) << "\" width=\""
             << std::max(0.0, w) << "\" height=\"" << std::max(0.0, h) << "\"/></clipPath>\n";
        return id;
    }

    void rect(double x, double y, double w, double h, const char *fill, const char *stroke, double strokeWidth = 1,
              double radius = 0, const char *extra = "") {
        body << "<rect x=\"" << X(x) + 0.5 << "\" y=\"" << Y(y) + 0.5 << "\" width=\"" << std::max(0.0, w - 1)
             << "\" height=\"" << std::max(0.0, h - 1) << "\" fill=\"" << fill << "\" stroke=\"" << stroke
             << "\" stroke-width=\"" << strokeWidth << "\"";
        if (radius > 0) body << " rx=\"" << radius << "\"";
        body << extra << "/>\n";
    }

    // Text whose middle lies at `cy`, starting at `x` (or centred on it).
    void text(double x, double cy, const std::string &s, const std::string &clipId, const char *fill = "#000",
              bool centred = false, bool bold = false) {
        body << "<text x=\"" << X(x) << "\" y=\"" << Y(cy) + kFontSize * 0.36 << "\" font-family=\"" << kFont
             << "\" font-size=\"" << kFontSize << "\" fill=\"" << fill << "\"";
        if (centred) body << " text-anchor=\"middle\"";
        if (bold) body << " font-weight=\"bold\"";
        if (!clipId.empty()) body << " clip-path=\"url(#" << clipId << ")\"";
        body << ">" << escape(s) << "</text>\n";
    }

    void path(const std::string &d, const char *fill, const char *stroke, double width = 1) {
        body << "<path d=\"" << d << "\" fill=\"" << fill << "\" stroke=\"" << stroke << "\" stroke-width=\"" << width
             << "\"/>\n";
    }

    double X(double x) const { return ox_ + x; }
    double Y(double y) const { return oy_ + y; }

private:
    int ox_, oy_;
    int clips_ = 0;
};

std::string fmt(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

// The selection highlight behind a focused field's text, then the text.
void fieldText(Painter &p, const DialogItem &item, double x, double cy, double room, const std::string &clipId) {
    const std::string s = item.displayText();
    if (item.active && item.textSelected && !s.empty()) {
        const double w = std::min(room, s.size() * kCharWidth + 2);
        p.rect(x - 1, cy - kFontSize * 0.65, w + 1, kFontSize * 1.3 + 1, "#316ac5", "none", 0);
        p.text(x, cy, s, clipId, "#fff");
    } else {
        p.text(x, cy, s, clipId);
    }
}

void drawItem(Painter &p, const DialogItem &item) {
    const ADMRect &r = item.rect;
    const double x = r.left, y = r.top, w = r.right - r.left, h = r.bottom - r.top;
    const double cy = y + h / 2;
    p.body << "<g data-id=\"" << item.id << "\" data-kind=\"" << itemKindName(item.kind) << "\"><title>item "
           << item.id << " (" << itemKindName(item.kind) << ")</title>\n";
    switch (item.kind) {
    case ItemKind::Static:
        p.text(x + 1, cy, item.text, p.clip(x, y, w, h));
        break;
    case ItemKind::SpinEdit: {
        const double arrows = std::min(11.0, w / 4);
        p.rect(x, y, w, h, "#fff", item.active ? "#316ac5" : "#7f9db9", item.active ? 1.5 : 1);
        // The spin arrows.
        const double ax = x + w - arrows;
        p.rect(ax, y + 1, arrows - 1, h / 2 - 1, "#e3e9f7", "#b5c4e3");
        p.rect(ax, y + h / 2, arrows - 1, h / 2 - 1, "#e3e9f7", "#b5c4e3");
        const double mx = ax + arrows / 2 - 0.5;
        p.path("M" + fmt(p.X(mx - 3)) + " " + fmt(p.Y(y + h / 4 + 1.5)) + " h6 l-3 -3 z", "#4d6185", "none");
        p.path("M" + fmt(p.X(mx - 3)) + " " + fmt(p.Y(y + 3 * h / 4 - 1.5)) + " h6 l-3 3 z", "#4d6185", "none");
        fieldText(p, item, x + 3, cy, w - arrows - 4, p.clip(x + 2, y + 1, w - arrows - 2, h - 2));
        break;
    }
    case ItemKind::CheckBox: {
        const double box = std::min(13.0, h);
        const double by = cy - box / 2;
        p.rect(x, by, box, box, "#fff", "#1c5180");
        if (item.checked)
            p.path("M" + fmt(p.X(x + 3)) + " " + fmt(p.Y(by + box / 2)) + " l2.5 2.8 l4.5 -6", "none", "#21a121", 2);
        const std::string clipId = p.clip(x + box + 3, y, w - box - 3, h);
        if (item.active) {
            const double tw = std::min(w - box - 4, item.text.size() * kCharWidth + 4);
            p.rect(x + box + 3, y, tw, h, "none", "#555", 1, 0, " stroke-dasharray=\"1 1\"");
        }
        p.text(x + box + 5, cy, item.text, clipId);
        break;
    }
    case ItemKind::Popup: {
        // Like a drop-down list, whose closed height follows its font rather
        // than the rectangle's, a popup is at least one line high.
        const double h = std::max<double>(r.bottom - r.top, kPopupLine);
        const double cy = y + h / 2;
        const double button = std::min(16.0, w / 3);
        p.rect(x, y, w, h, "#fff", item.active ? "#316ac5" : "#7f9db9", item.active ? 1.5 : 1);
        p.rect(x + w - button, y + 1, button - 1, h - 2, "#c1d3fb", "#b5c4e3");
        p.text(x + w - button / 2 - 0.5, cy, "\u25BE", "", "#4d6185", true);
        fieldText(p, item, x + 3, cy, w - button - 5, p.clip(x + 1, y + 1, w - button - 2, h - 2));
        break;
    }
    case ItemKind::PushButton: {
        const bool isDefault = item.id == 1;
        p.rect(x, y, w, h, "#f4f3ee", isDefault ? "#003c74" : "#5a7eb0", isDefault ? 2 : 1, 3);
        if (item.active) p.rect(x + 3, y + 3, w - 6, h - 6, "none", "#555", 1, 0, " stroke-dasharray=\"1 1\"");
        p.text(x + w / 2, cy, item.text, p.clip(x + 2, y + 1, w - 4, h - 2), "#000", true);
        break;
    }
    case ItemKind::Frame:
        p.rect(x, y, w, h, "none", "#000");
        break;
    case ItemKind::Other:
        p.rect(x, y, w, h, "none", "#999", 1, 0, " stroke-dasharray=\"3 2\"");
        p.text(x + 2, cy, item.text.empty() ? item.type : item.text, p.clip(x, y, w, h), "#666");
        break;
    }
    p.body << "</g>\n";
}

}  // namespace

std::string drawDialogSvg(const Dialog &dialog) {
    const int cw = std::max(dialog.width, 40);
    const int ch = std::max(dialog.height, 20);
    const int ww = cw + 2 * kBorder;            // window
    const int wh = ch + kTitle + 2 * kBorder;
    const int width = ww + 2 * kMargin;
    const int height = wh + 2 * kMargin;
    Painter p(kMargin + kBorder, kMargin + kBorder + kTitle);

    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" xml:space=\"preserve\" width=\"" << width << "\" height=\""
        << height << "\" viewBox=\"0 0 " << width << " " << height << "\">\n"
        << "<title>" << escape(dialog.title) << " (" << escape(dialog.name) << ", template " << dialog.resourceId
        << ")</title>\n";

    // The window: shadow, border, title bar with its close box, client area.
    std::ostringstream frame;
    frame << "<rect x=\"" << kMargin + 3 << "\" y=\"" << kMargin + 3 << "\" width=\"" << ww << "\" height=\"" << wh
          << "\" rx=\"6\" fill=\"#000\" opacity=\"0.18\"/>\n"
          << "<rect x=\"" << kMargin << "\" y=\"" << kMargin << "\" width=\"" << ww << "\" height=\"" << wh
          << "\" rx=\"6\" fill=\"#0a246a\"/>\n"
          << "<rect x=\"" << kMargin + kBorder << "\" y=\"" << kMargin + kBorder + kTitle << "\" width=\"" << cw
          << "\" height=\"" << ch << "\" fill=\"#ece9d8\"/>\n"
          << "<text x=\"" << kMargin + kBorder + 6 << "\" y=\"" << kMargin + kBorder + kTitle / 2 + 4.5
          << "\" font-family=\"" << kFont << "\" font-size=\"12\" font-weight=\"bold\" fill=\"#fff\">"
          << escape(dialog.title) << "</text>\n";
    const int bx = kMargin + ww - kBorder - 20, by = kMargin + kBorder + 2;
    frame << "<rect x=\"" << bx << "\" y=\"" << by << "\" width=\"18\" height=\"17\" rx=\"3\" fill=\"#e0573a\" "
          << "stroke=\"#fff\"/>\n<path d=\"M" << bx + 5 << " " << by + 4.5 << " l8 8 m0 -8 l-8 8\" stroke=\"#fff\" "
          << "stroke-width=\"2\"/>\n";

    for (const auto &item : dialog.items()) drawItem(p, *item);

    out << "<defs>\n" << p.defs.str() << "</defs>\n" << frame.str() << p.body.str() << "</svg>\n";
    return out.str();
}

}  // namespace smear
