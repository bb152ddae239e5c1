#include "spelling.h"

#include <algorithm>
#include <cctype>

namespace smear {

namespace {

std::string folded(const std::string &s) {
    std::string out;
    for (char c : s)
        if (c != '-' && c != '_' && c != ' ' && c != '\t') out += char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Edits (insert, delete, replace, swap of neighbours) from a to b.
size_t editDistance(const std::string &a, const std::string &b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

}  // namespace

std::string closestName(const std::string &typed, const std::vector<std::string> &names) {
    const std::string t = folded(typed);
    if (t.empty()) return {};
    std::string best;
    size_t bestDistance = 0;
    for (const std::string &name : names) {
        const std::string n = folded(name);
        size_t distance = editDistance(t, n);
        // A name the user typed only the start or the end of ("stroke" for
        // stroke-weight) is as likely as a slip.
        if (n.size() > t.size() && t.size() >= 4 && (n.compare(0, t.size(), t) == 0 ||
                                                     n.compare(n.size() - t.size(), t.size(), t) == 0))
            distance = std::min<size_t>(distance, 1);
        if (best.empty() || distance < bestDistance) {
            best = name;
            bestDistance = distance;
        }
    }
    // A third of the longer name, at least one edit and at most four.
    const size_t allowed = std::clamp<size_t>(std::max(t.size(), folded(best).size()) / 3, 1, 4);
    return bestDistance <= allowed ? best : std::string();
}

}  // namespace smear
