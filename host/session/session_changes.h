// What a stroke changed: the art objects whose geometry or paint differ
// afterwards, the ones it added and the ones it removed.
#pragma once

#include <map>
#include <string>

#include "document.h"

namespace smear {

class ChangeWatch {
public:
    // Remembers every live art object of `doc` as it is now.
    explicit ChangeWatch(const Document &doc);

    struct Changes {
        size_t changed = 0, added = 0, removed = 0;
    };
    Changes compare(const Document &doc) const;

private:
    std::map<const Art *, std::string> before_;
};

// "1 object changed", "3 objects changed, 1 added"
std::string describe(const ChangeWatch::Changes &c);

}  // namespace smear
