#include "session_changes.h"

#include <set>

#include "art_signature.h"

namespace smear {

ChangeWatch::ChangeWatch(const Document &doc) {
    doc.forEachArt([&](const Art &a) { before_[&a] = visibleSignature(a); });
}

ChangeWatch::Changes ChangeWatch::compare(const Document &doc) const {
    Changes c;
    std::set<const Art *> seen;
    doc.forEachArt([&](const Art &a) {
        auto it = before_.find(&a);
        if (it == before_.end()) {
            ++c.added;
            return;
        }
        seen.insert(&a);
        if (it->second != visibleSignature(a)) ++c.changed;
    });
    c.removed = before_.size() - seen.size();
    return c;
}

std::string describe(const ChangeWatch::Changes &c) {
    std::string s = std::to_string(c.changed) + (c.changed == 1 ? " object changed" : " objects changed");
    if (c.added) s += ", " + std::to_string(c.added) + " added";
    if (c.removed) s += ", " + std::to_string(c.removed) + " removed";
    return s;
}

}  // namespace smear
