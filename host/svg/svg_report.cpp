#include "svg_report.h"

#include <map>

namespace smear {

namespace {

struct Split {
    std::string element;  // "element <path id=p1>", or empty
    std::string reason;
};

// "element <path id=p1>: filter url(#f) is not kept" as its element and
// its reason; problems of the whole file have no element.
Split split(const std::string &problem) {
    if (problem.compare(0, 9, "element <") == 0) {
        const size_t close = problem.find(">");
        const size_t colon = close == std::string::npos ? close : problem.find(": ", close);
        if (colon != std::string::npos) return {problem.substr(0, colon), problem.substr(colon + 2)};
    }
    return {{}, problem};
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The reason with quoted text, parenthesised text and numbers replaced by
// "…", so that one kind of problem reads the same on every element.
std::string kindOf(const std::string &reason) {
    std::string out;
    for (size_t i = 0; i < reason.size();) {
        const char c = reason[i];
        const char closer = c == '"' ? '"' : c == '(' ? ')' : c == '\'' ? '\'' : '\0';
        if (closer) {
            const size_t end = reason.find(closer, i + 1);
            if (end != std::string::npos) {
                out += c;
                out += "…";
                out += closer;
                i = end + 1;
                continue;
            }
        }
        if (isDigit(c) || (c == '-' && i + 1 < reason.size() && isDigit(reason[i + 1]))) {
            ++i;
            while (i < reason.size() && (isDigit(reason[i]) || reason[i] == '.' || reason[i] == 'e' ||
                                         reason[i] == 'E' || reason[i] == '+' || reason[i] == '-'))
                ++i;
            out += "…";
            continue;
        }
        if (c == '#') {
            // A reference: "#name" up to the next blank or bracket.
            ++i;
            while (i < reason.size() && reason[i] != ' ' && reason[i] != ')' && reason[i] != ';' && reason[i] != ',')
                ++i;
            out += "#…";
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

}  // namespace

std::vector<std::string> summarizeReadProblems(const std::vector<std::string> &problems) {
    struct Kind {
        size_t count = 0;
        std::string first, firstElement;
    };
    std::vector<std::string> order;
    std::map<std::string, Kind> kinds;
    for (const std::string &p : problems) {
        const Split s = split(p);
        const std::string kind = kindOf(s.reason);
        Kind &k = kinds[kind];
        if (k.count++ == 0) {
            order.push_back(kind);
            k.first = p;
            k.firstElement = s.element;
        }
    }
    std::vector<std::string> lines;
    for (const std::string &kind : order) {
        const Kind &k = kinds[kind];
        if (k.count == 1) {
            lines.push_back(k.first);
            continue;
        }
        std::string line = std::to_string(k.count) + " times: " + kind;
        if (!k.firstElement.empty()) line += " (first: " + k.firstElement + ")";
        lines.push_back(line);
    }
    return lines;
}

}  // namespace smear
