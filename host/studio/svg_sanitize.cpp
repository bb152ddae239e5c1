#include "svg_sanitize.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <sstream>
#include <vector>

#include <pugixml.hpp>

namespace smear {

namespace {

constexpr std::string_view kSvgNamespace = "http://www.w3.org/2000/svg";
constexpr std::string_view kXlinkNamespace = "http://www.w3.org/1999/xlink";

using Namespaces = std::map<std::string, std::string>;  // prefix ("" the default) -> URI

std::string lower(std::string_view text) {
    std::string out(text);
    for (char &c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view prefixOf(std::string_view name) {
    const size_t colon = name.find(':');
    return colon == std::string_view::npos ? std::string_view() : name.substr(0, colon);
}

std::string_view localOf(std::string_view name) {
    const size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool startsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

// Elements that run code or hold another vocabulary, whatever else they hold.
bool forbiddenElement(const std::string &local) {
    return local == "script" || local == "foreignobject" || local == "handler" || local == "listener";
}

bool animation(const std::string &local) {
    return local == "set" || startsWith(local, "animate");
}

// A link a browser would follow into code: browsers drop blanks and control
// characters anywhere in a URL's scheme and ignore its case. Raster images
// as data are what drawings embed; any other data: URL may be a document.
bool unsafeUrl(std::string_view value) {
    std::string url;
    for (char c : value)
        if (static_cast<unsigned char>(c) > 0x20) url += char(std::tolower(static_cast<unsigned char>(c)));
    if (startsWith(url, "javascript:") || startsWith(url, "vbscript:")) return true;
    if (!startsWith(url, "data:")) return false;
    for (const char *image : {"data:image/png", "data:image/jpeg", "data:image/jpg", "data:image/gif", "data:image/webp",
                              "data:image/bmp"})
        if (startsWith(url, image) && (url.size() == std::string_view(image).size() ||
                                       url[std::string_view(image).size()] == ';' || url[std::string_view(image).size()] == ','))
            return false;
    return true;
}

bool urlAttribute(const std::string &local) { return local == "href" || local == "src" || local == "action" || local == "formaction"; }

class Sanitizer {
public:
    explicit Sanitizer(SvgSanitizeResult &result) : result_(result) {}

    // Walks the tree without recursion: a drawing may nest as deep as its
    // author liked.
    void clean(pugi::xml_node top, const std::shared_ptr<const Namespaces> &outer) {
        struct Frame {
            pugi::xml_node node;
            std::shared_ptr<const Namespaces> namespaces;
        };
        std::vector<Frame> stack{{top, outer}};
        while (!stack.empty()) {
            Frame frame = stack.back();
            stack.pop_back();
            for (pugi::xml_node child = frame.node.first_child(); child;) {
                const pugi::xml_node next = child.next_sibling();
                if (child.type() == pugi::node_element) {
                    auto namespaces = declared(child, frame.namespaces);
                    if (keepElement(child, *namespaces)) {
                        cleanAttributes(child);
                        stack.push_back({child, namespaces});
                    } else {
                        frame.node.remove_child(child);
                        ++result_.removedElements;
                    }
                } else if (child.type() != pugi::node_pcdata && child.type() != pugi::node_cdata) {
                    // Processing instructions, DOCTYPEs, declarations, comments.
                    frame.node.remove_child(child);
                }
                child = next;
            }
        }
    }

    // The namespaces in force inside `element`: those of its parent and its
    // own xmlns attributes.
    static std::shared_ptr<const Namespaces> declared(pugi::xml_node element, const std::shared_ptr<const Namespaces> &outer) {
        std::shared_ptr<Namespaces> own;
        for (const pugi::xml_attribute a : element.attributes()) {
            const std::string_view name = a.name();
            if (name != "xmlns" && !startsWith(name, "xmlns:")) continue;
            if (!own) own = std::make_shared<Namespaces>(*outer);
            (*own)[std::string(name == "xmlns" ? std::string_view() : name.substr(6))] = a.value();
        }
        return own ? own : outer;
    }

private:
    bool keepElement(pugi::xml_node element, const Namespaces &namespaces) const {
        const std::string_view name = element.name();
        const auto uri = namespaces.find(std::string(prefixOf(name)));
        if (uri == namespaces.end() || uri->second != kSvgNamespace) return false;
        const std::string local = lower(localOf(name));
        if (forbiddenElement(local)) return false;
        if (animation(local)) {
            const std::string target = lower(localOf(element.attribute("attributeName").value()));
            if (urlAttribute(target) || startsWith(target, "on")) return false;
        }
        return true;
    }

    void cleanAttributes(pugi::xml_node element) {
        for (pugi::xml_attribute a = element.first_attribute(); a;) {
            const pugi::xml_attribute next = a.next_attribute();
            const std::string_view name = a.name();
            const std::string local = lower(localOf(name));
            const bool declaration = name == "xmlns" || startsWith(name, "xmlns:");
            if ((!declaration && startsWith(local, "on")) || (urlAttribute(local) && unsafeUrl(a.value()))) {
                element.remove_attribute(a);
                ++result_.removedAttributes;
            }
            a = next;
        }
    }

    SvgSanitizeResult &result_;
};

}  // namespace

SvgSanitizeResult sanitizeSvg(std::string_view markup, const SvgSanitizeOptions &options) {
    SvgSanitizeResult result;
    pugi::xml_document doc;
    // Blanks between elements are kept: inside text they are the text.
    const unsigned parse = pugi::parse_default | pugi::parse_ws_pcdata | (options.fragment ? pugi::parse_fragment : 0u);
    const pugi::xml_parse_result parsed = doc.load_buffer(markup.data(), markup.size(), parse, pugi::encoding_utf8);
    if (!parsed) {
        result.error = std::string("the markup is not well-formed XML: ") + parsed.description() + " at byte " +
                       std::to_string(parsed.offset);
        return result;
    }
    auto namespaces = std::make_shared<Namespaces>();
    if (options.fragment) {
        (*namespaces)[""] = std::string(kSvgNamespace);
        (*namespaces)["xlink"] = std::string(kXlinkNamespace);
    } else {
        // Whitespace around the root is no part of the drawing.
        for (pugi::xml_node n = doc.first_child(); n;) {
            const pugi::xml_node next = n.next_sibling();
            if (n.type() == pugi::node_pcdata) doc.remove_child(n);
            n = next;
        }
        const pugi::xml_node root = doc.document_element();
        const auto inRoot = Sanitizer::declared(root, namespaces);
        const auto uri = inRoot->find(std::string(prefixOf(root.name())));
        if (!root || localOf(root.name()) != "svg" || uri == inRoot->end() || uri->second != kSvgNamespace) {
            result.error = "the markup is not an SVG drawing: its root is not <svg> in the SVG namespace";
            return result;
        }
    }
    Sanitizer(result).clean(doc, namespaces);
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    result.markup = out.str();
    return result;
}

}  // namespace smear
