#include "page_markup.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

#include <pugixml.hpp>

namespace smear {

namespace {

std::string lower(std::string s) {
    for (char &c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool startsWith(const std::string &s, const char *prefix) { return s.rfind(prefix, 0) == 0; }

// Whether the markup may hold anything pageSafeMarkup takes out: most of
// what the writer sends holds none of it and is passed on without parsing.
bool mayRun(const std::string &markup) {
    const std::string text = lower(markup);
    for (const char *risky : {"script", "foreign", "iframe", "<object", "<embed", "<set", "<animate", "<handler",
                              "<listener", "data:", "&#"})
        if (text.find(risky) != std::string::npos) return true;
    for (size_t i = 0; i + 3 < text.size(); ++i) {
        // An attribute whose name starts with "on".
        if (std::isspace(static_cast<unsigned char>(text[i])) && text[i + 1] == 'o' && text[i + 2] == 'n') {
            size_t j = i + 3;
            while (j < text.size() && (std::isalnum(static_cast<unsigned char>(text[j])) || text[j] == '-')) ++j;
            while (j < text.size() && std::isspace(static_cast<unsigned char>(text[j]))) ++j;
            if (j < text.size() && text[j] == '=') return true;
        }
        // An element or attribute with a namespace prefix other than xlink: or xml:.
        if (text[i] == '<' && std::isalpha(static_cast<unsigned char>(text[i + 1]))) {
            size_t j = i + 1;
            while (j < text.size() && !std::isspace(static_cast<unsigned char>(text[j])) && text[j] != '>' &&
                   text[j] != '/')
                if (text[j++] == ':') return true;
        }
    }
    return false;
}

bool runsOrIsForeign(const std::string &name) {
    static const char *const kRefused[] = {"script", "foreignobject", "iframe", "object", "embed", "handler",
                                           "listener", "audio", "video", "canvas"};
    const std::string n = lower(name);
    if (n.find(':') != std::string::npos) return true;  // HTML or another vocabulary
    return std::find_if(std::begin(kRefused), std::end(kRefused), [&](const char *r) { return n == r; }) !=
           std::end(kRefused);
}

// A link a browser would follow into code: javascript:, vbscript:, or a
// data: document that is not a plain image.
bool dangerousLink(const std::string &value) {
    std::string v;
    for (char c : value)
        if (static_cast<unsigned char>(c) > ' ') v += char(std::tolower(static_cast<unsigned char>(c)));
    if (startsWith(v, "javascript:") || startsWith(v, "vbscript:")) return true;
    if (startsWith(v, "data:"))
        return !(startsWith(v, "data:image/png") || startsWith(v, "data:image/jpeg") ||
                 startsWith(v, "data:image/gif") || startsWith(v, "data:image/webp"));
    return false;
}

bool animatesCode(const pugi::xml_node &node) {
    const std::string n = lower(node.name());
    if (n != "set" && n != "animate") return false;
    const std::string target = lower(node.attribute("attributeName").value());
    return startsWith(target, "on") || target.find("href") != std::string::npos;
}

void clean(pugi::xml_node node) {
    for (pugi::xml_node child = node.first_child(); child;) {
        pugi::xml_node next = child.next_sibling();
        if (child.type() == pugi::node_pi || child.type() == pugi::node_doctype ||
            (child.type() == pugi::node_element && (runsOrIsForeign(child.name()) || animatesCode(child)))) {
            node.remove_child(child);
        } else if (child.type() == pugi::node_element) {
            std::vector<pugi::xml_attribute> refused;
            for (pugi::xml_attribute a : child.attributes()) {
                const std::string name = lower(a.name());
                const bool link = name == "href" || name == "xlink:href" || name == "src" || name == "action";
                const bool foreign = name.find(':') != std::string::npos &&
                                     !startsWith(name, "xlink:") && !startsWith(name, "xml:") &&
                                     !startsWith(name, "xmlns");
                if (startsWith(name, "on") || foreign || (link && dangerousLink(a.value()))) refused.push_back(a);
            }
            for (pugi::xml_attribute a : refused) child.remove_attribute(a);
            clean(child);
        }
        child = next;
    }
}

}  // namespace

std::string pageSafeMarkup(const std::string &markup) {
    if (!mayRun(markup)) return markup;
    pugi::xml_document doc;
    if (!doc.load_buffer(markup.data(), markup.size(), pugi::parse_default | pugi::parse_fragment)) return {};
    clean(doc);
    std::ostringstream out;
    for (pugi::xml_node n = doc.first_child(); n; n = n.next_sibling()) n.print(out, "", pugi::format_raw);
    return out.str();
}

}  // namespace smear
