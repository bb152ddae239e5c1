#include "page_markup.h"

#include <cctype>

#include "svg_sanitize.h"

namespace smear {

namespace {

std::string lower(std::string s) {
    for (char &c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

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

}  // namespace

std::string pageSafeMarkup(const std::string &markup) {
    if (!mayRun(markup)) return markup;
    SvgSanitizeOptions fragment;
    fragment.fragment = true;
    return sanitizeSvg(markup, fragment).markup;
}

}  // namespace smear
