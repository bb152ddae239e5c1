#include "gallery.h"

#include <sstream>

#include "xml_out.h"

namespace smear {

std::string htmlEscape(const std::string &text) { return XmlOut::escape(text, true); }

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
              << "<figure><img src=\"" << htmlEscape(e.afterFile) << "\" alt=\"after " << htmlEscape(e.name)
              << "\"><figcaption>after one stroke</figcaption></figure>\n</div>\n";
        } else {
            h << "<p class=\"idle\">This tool does not change the drawing yet.</p>\n";
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
