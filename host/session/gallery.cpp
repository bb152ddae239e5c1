#include "gallery.h"

#include <algorithm>
#include <sstream>

#include "xml_out.h"

namespace smear {

std::string htmlEscape(const std::string &text) { return XmlOut::escape(text, true); }

namespace {

std::string number(double v) {
    std::ostringstream o;
    o << v;
    return o.str();
}

// The band the brush swept and its centre line, over a picture.
std::string strokeOverlay(const GalleryStroke &s) {
    const double left = std::min(s.x1, s.x2) - s.hx, right = std::max(s.x1, s.x2) + s.hx;
    const double top = std::min(s.y1, s.y2) - s.hy, bottom = std::max(s.y1, s.y2) + s.hy;
    std::ostringstream o;
    o << "<svg class=\"brush\" viewBox=\"" << htmlEscape(s.viewBox) << "\" preserveAspectRatio=\"xMidYMid meet\">"
      << "<rect x=\"" << number(left) << "\" y=\"" << number(top) << "\" width=\"" << number(right - left)
      << "\" height=\"" << number(bottom - top) << "\" fill=\"#ffcc00\" fill-opacity=\"0.07\" stroke=\"#cc8800\""
      << " stroke-dasharray=\"6 4\" stroke-width=\"1\"/>"
      << "<line x1=\"" << number(s.x1) << "\" y1=\"" << number(s.y1) << "\" x2=\"" << number(s.x2) << "\" y2=\""
      << number(s.y2) << "\" stroke=\"#cc3300\" stroke-width=\"2\" stroke-dasharray=\"8 5\"/>"
      << "<circle cx=\"" << number(s.x2) << "\" cy=\"" << number(s.y2) << "\" r=\"4\" fill=\"#cc3300\"/></svg>";
    return o.str();
}

}  // namespace

std::string galleryHtml(const std::string &beforeFile, const std::string &strokeText,
                        const std::vector<GalleryEntry> &entries) {
    size_t working = 0;
    for (const GalleryEntry &e : entries) working += e.changed;
    std::ostringstream h;
    h << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      << "<title>Smearcraft tools: before and after</title>\n<style>\n"
      << "body { font-family: sans-serif; margin: 2em; color: #222; }\n"
      << "section { border-top: 1px solid #ccc; padding: 1em 0; }\n"
      << ".pair { display: flex; gap: 1em; flex-wrap: wrap; }\n"
      << "figure { margin: 0; }\n"
      << "figure img { width: 390px; border: 1px solid #999; background: #fff; }\n"
      << ".painted { position: relative; width: 390px; line-height: 0; }\n"
      << ".painted svg.brush { position: absolute; left: 1px; top: 1px; width: 390px; height: calc(100% - 2px); "
         "pointer-events: none; }\n"
      << "figure img.dialog { width: auto; height: 260px; border: none; background: none; }\n"
      << "figcaption { font-size: 90%; color: #555; }\n"
      << "details pre { font-size: 80%; background: #f4f4f4; padding: 0.5em; overflow-x: auto; }\n"
      << ".idle { color: #a33; }\n"
      << "</style>\n</head>\n<body>\n"
      << "<h1>Smearcraft tools: before and after</h1>\n"
      << "<p>" << htmlEscape(strokeText) << "</p>\n"
      << "<p>" << working << " of " << entries.size() << " tools change the drawing.</p>\n";
    for (const GalleryEntry &e : entries) {
        h << "<section id=\"" << htmlEscape(e.name) << "\">\n<h2>" << htmlEscape(e.title) << "</h2>\n"
          << "<p>" << htmlEscape(e.tooltip) << "</p>\n";
        if (!e.settings.empty()) h << "<p>Options: <code>" << htmlEscape(e.settings) << "</code></p>\n";
        if (e.changed) {
            h << "<div class=\"pair\">\n"
              << "<figure><img src=\"" << htmlEscape(beforeFile) << "\" alt=\"before\"><figcaption>before</figcaption></figure>\n"
              << "<figure><div class=\"painted\"><img src=\"" << htmlEscape(e.afterFile) << "\" alt=\"after "
              << htmlEscape(e.name) << "\">" << strokeOverlay(e.stroke)
              << "</div><figcaption>after one stroke (the dashed band is the brush's path)</figcaption></figure>\n"
              << "</div>\n";
        } else {
            h << "<p class=\"idle\">This stroke left the drawing as it was.</p>\n";
        }
        if (!e.dialogFile.empty())
            h << "<figure><img class=\"dialog\" src=\"" << htmlEscape(e.dialogFile) << "\" alt=\"options of "
              << htmlEscape(e.name) << "\"><figcaption>its options dialog</figcaption></figure>\n";
        h << "<details><summary>Session report</summary><pre>" << htmlEscape(e.report) << "</pre></details>\n"
          << "</section>\n";
    }
    h << "</body>\n</html>\n";
    return h.str();
}

}  // namespace smear
