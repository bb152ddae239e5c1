// Whether a written file is XML that a namespace-aware parser (browsers,
// librsvg) takes: well-formed, every element and attribute prefix declared
// where it is used, no attribute twice (by name, or by namespace and local
// name). pugixml checks the markup; the namespaces are checked here, as
// pugixml does not look at them.
#pragma once

#include <pugixml.hpp>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace smear {

// "" when the text is namespace-well-formed XML, else what is wrong first.
inline std::string namespaceProblem(const std::string &text) {
    pugi::xml_document xml;
    const pugi::xml_parse_result parsed = xml.load_buffer(text.data(), text.size(), pugi::parse_default);
    if (!parsed) return std::string("not well-formed: ") + parsed.description() + " at byte " +
                        std::to_string(parsed.offset);
    struct Open {
        pugi::xml_node node;
        std::map<std::string, std::string> scope;  // prefix -> URI
    };
    std::vector<Open> todo{{xml.document_element(), {{"xml", "http://www.w3.org/XML/1998/namespace"}}}};
    while (!todo.empty()) {
        Open open = todo.back();
        todo.pop_back();
        std::map<std::string, std::string> &scope = open.scope;
        for (const pugi::xml_attribute a : open.node.attributes()) {
            const std::string name = a.name();
            if (name.compare(0, 6, "xmlns:") == 0) {
                if (std::string(a.value()).empty()) return "<" + std::string(open.node.name()) + "> undeclares " + name;
                scope[name.substr(6)] = a.value();
            }
        }
        auto prefixOf = [](const std::string &name) {
            const size_t colon = name.find(':');
            return colon == std::string::npos ? std::string() : name.substr(0, colon);
        };
        const std::string element = open.node.name();
        const std::string elementPrefix = prefixOf(element);
        if (!elementPrefix.empty() && !scope.count(elementPrefix))
            return "<" + element + "> has the undeclared prefix " + elementPrefix;
        std::set<std::string> seen;
        for (const pugi::xml_attribute a : open.node.attributes()) {
            const std::string name = a.name();
            const std::string prefix = prefixOf(name);
            if (name == "xmlns" || prefix == "xmlns") continue;
            if (!prefix.empty() && !scope.count(prefix))
                return "<" + element + "> has attribute " + name + " with an undeclared prefix";
            // The same attribute twice, by its name or by namespace and local name.
            const std::string key = prefix.empty() ? name : scope[prefix] + " " + name.substr(prefix.size() + 1);
            if (!seen.insert(key).second) return "<" + element + "> has attribute " + name + " twice";
        }
        for (pugi::xml_node c = open.node.last_child(); c; c = c.previous_sibling())
            if (c.type() == pugi::node_element) todo.push_back({c, scope});
    }
    return {};
}

}  // namespace smear
