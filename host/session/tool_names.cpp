#include "tool_names.h"

#include <cctype>
#include <vector>

#include "spelling.h"

namespace smear {

std::string normalizeToolName(const std::string &name) {
    std::string out;
    bool gap = false;
    for (char c : name) {
        const bool separator = c == ' ' || c == '-' || c == '_' || c == '\t';
        if (separator) {
            gap = !out.empty();
            continue;
        }
        if (gap) out += ' ';
        gap = false;
        out += char(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string shortToolName(const std::string &title) {
    std::string words = normalizeToolName(title);
    const size_t blank = words.find(' ');
    if (blank != std::string::npos) words.erase(0, blank + 1);  // the set's prefix
    for (char &c : words)
        if (c == ' ') c = '-';
    return words;
}

int findTool(const std::deque<PaletteTool> &palette, const std::string &name, std::string &error) {
    if (palette.empty()) {
        error = "no tools: the plug-in has not registered any (is it started?)";
        return -1;
    }
    const std::string wanted = normalizeToolName(name);
    for (size_t i = 0; i < palette.size(); ++i) {
        // Whole titles (prefix included) are accepted too.
        if (normalizeToolName(shortToolName(palette[i].title)) == wanted ||
            normalizeToolName(palette[i].title) == wanted)
            return int(i);
    }
    std::vector<std::string> names;
    for (const PaletteTool &tool : palette) names.push_back(shortToolName(tool.title));
    const std::string guess = closestName(name, names);
    error = "unknown tool '" + name + "'" + (guess.empty() ? "" : " (did you mean " + guess + "?)") + "; the tools are:";
    for (const std::string &n : names) error += " " + n;
    return -1;
}

int toolIdOf(const std::deque<PaletteTool> &palette, int index) {
    if (index < 0 || size_t(index) >= palette.size()) return -1;
    int id = 0;
    for (int i = 0; i < index; ++i) id += palette[size_t(i)].groupNumber == palette[size_t(index)].groupNumber;
    return id;
}

AIToolHandle toolHandle(Host &host, int toolId) {
    if (toolId < 0 || size_t(toolId) >= host.palette.size()) return nullptr;
    return reinterpret_cast<AIToolHandle>(&host.palette[size_t(toolId)]);
}

}  // namespace smear
