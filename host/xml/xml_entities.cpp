#include "xml_entities.h"

#include <map>

namespace smear {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

// The internal subset of the DOCTYPE before the root element: [begin, end)
// between its brackets, and where the declaration ends. False when there
// is none.
bool internalSubset(std::string_view t, size_t &begin, size_t &end, size_t &after) {
    size_t i = 0;
    while (i < t.size()) {
        if (t.compare(i, 4, "<!--") == 0) {
            const size_t e = t.find("-->", i + 4);
            if (e == std::string_view::npos) return false;
            i = e + 3;
        } else if (t.compare(i, 2, "<?") == 0) {
            const size_t e = t.find("?>", i + 2);
            if (e == std::string_view::npos) return false;
            i = e + 2;
        } else if (t.compare(i, 9, "<!DOCTYPE") == 0) {
            for (i += 9; i < t.size() && t[i] != '[' && t[i] != '>'; ++i)
                if (t[i] == '"' || t[i] == '\'') {
                    const size_t q = t.find(t[i], i + 1);
                    if (q == std::string_view::npos) return false;
                    i = q;
                }
            if (i >= t.size() || t[i] != '[') return false;
            begin = i + 1;
            for (i = begin; i < t.size() && t[i] != ']'; ++i) {
                if (t[i] == '"' || t[i] == '\'') {
                    const size_t q = t.find(t[i], i + 1);
                    if (q == std::string_view::npos) return false;
                    i = q;
                } else if (t.compare(i, 4, "<!--") == 0) {
                    const size_t e = t.find("-->", i + 4);
                    if (e == std::string_view::npos) return false;
                    i = e + 2;
                }
            }
            if (i >= t.size()) return false;
            end = i;
            after = t.find('>', end);
            if (after == std::string_view::npos) return false;
            ++after;
            return true;
        } else if (t[i] == '<') {
            return false;  // the root element: no DOCTYPE before it
        } else {
            ++i;
        }
    }
    return false;
}

// The general entities declared with a literal value.
std::map<std::string, std::string> declaredEntities(std::string_view subset, std::vector<std::string> &notExpanded) {
    std::map<std::string, std::string> out;
    for (size_t i = subset.find("<!ENTITY"); i != std::string_view::npos; i = subset.find("<!ENTITY", i)) {
        i += 8;
        while (i < subset.size() && isBlank(subset[i])) ++i;
        const bool parameter = i < subset.size() && subset[i] == '%';
        if (parameter) continue;
        const size_t nameBegin = i;
        while (i < subset.size() && isNameChar(subset[i])) ++i;
        const std::string name(subset.substr(nameBegin, i - nameBegin));
        while (i < subset.size() && isBlank(subset[i])) ++i;
        if (name.empty() || i >= subset.size()) continue;
        if (subset[i] != '"' && subset[i] != '\'') {
            notExpanded.push_back(name);  // SYSTEM or PUBLIC: outside the file
            continue;
        }
        const size_t close = subset.find(subset[i], i + 1);
        if (close == std::string_view::npos) break;
        if (!out.count(name)) out[name] = std::string(subset.substr(i + 1, close - i - 1));  // the first one counts
        i = close + 1;
    }
    return out;
}

// `text` with the references to `entities` replaced, values expanded in
// turn up to `depth` levels. False when the result would pass `limit`.
bool replaceReferences(std::string_view text, const std::map<std::string, std::string> &entities, bool escapeQuotes,
                       int depth, size_t limit, std::string &out) {
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, 4, "<!--") == 0 || text.compare(i, 9, "<![CDATA[") == 0) {
            const bool comment = text[i + 2] == '-';
            const size_t e = text.find(comment ? "-->" : "]]>", i);
            const size_t stop = e == std::string_view::npos ? text.size() : e + 3;
            out.append(text.substr(i, stop - i));
            i = stop;
            continue;
        }
        if (text[i] == '&') {
            size_t j = i + 1;
            while (j < text.size() && isNameChar(text[j])) ++j;
            const auto it = j < text.size() && text[j] == ';' ? entities.find(std::string(text.substr(i + 1, j - i - 1)))
                                                               : entities.end();
            if (it != entities.end() && depth > 0) {
                std::string value;
                if (!replaceReferences(it->second, entities, false, depth - 1, limit, value)) return false;
                for (char c : value) {
                    if (escapeQuotes && c == '"') out += "&quot;";
                    else if (escapeQuotes && c == '\'') out += "&apos;";
                    else out += c;
                }
                if (out.size() > limit) return false;
                i = j + 1;
                continue;
            }
        }
        out += text[i++];
        if (out.size() > limit) return false;
    }
    return true;
}

}  // namespace

bool expandInternalEntities(std::string_view text, size_t limit, std::string &out,
                            std::vector<std::string> &notExpanded, std::string &error) {
    out.clear();
    size_t begin = 0, end = 0, after = 0;
    std::map<std::string, std::string> entities;
    if (internalSubset(text, begin, end, after)) entities = declaredEntities(text.substr(begin, end - begin), notExpanded);
    for (auto it = entities.begin(); it != entities.end();) {
        if (it->second.find('<') != std::string::npos) {
            notExpanded.push_back(it->first);
            it = entities.erase(it);
        } else {
            ++it;
        }
    }
    if (entities.empty()) {
        out = std::string(text);
        return true;
    }
    out = std::string(text.substr(0, after));
    // Values refer to each other at most a few levels deep; deeper is a
    // trap, as is an expansion past the limit.
    if (!replaceReferences(text.substr(after), entities, true, 8, limit, out)) {
        out.clear();
        error = "its entities expand past " + std::to_string(limit >> 20) + " MB";
        return false;
    }
    return true;
}

}  // namespace smear
