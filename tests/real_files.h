// SVG files that come with Debian packages (Wine's icon is always there, as
// the tests' Windows stage installs Wine), for tests that paint drawings
// nobody here drew; and select all, as a host does it.
#pragma once

#include <functional>

#include "document.h"

namespace smear {

inline const char *const kRealSvgFiles[] = {
    "/usr/share/icons/hicolor/scalable/apps/wine-stable.svg",
    "/usr/share/icons/hicolor/scalable/apps/gvim.svg",
    "/usr/share/doc/postgresql-common/dependencies.svg",
    "/usr/share/icons/Adwaita/scalable/places/folder-symbolic.svg",
    "/usr/share/icons/Adwaita/scalable/status/weather-fog-symbolic.svg",
    "/usr/share/icons/Adwaita/scalable/actions/view-mirror-symbolic.svg",
};

// What is locked or hidden, by itself or by its layer, stays unselected.
inline void selectAllOpen(Document &d) {
    std::function<void(Art &)> select = [&](Art &a) {
        if (a.userAttr & (kArtLocked | kArtHidden)) return;
        a.userAttr |= kArtSelected;
        for (Art *c = a.firstChild; c; c = c->next) select(*c);
    };
    for (Layer *layer : d.layers)
        if (layer->visible && !layer->locked)
            for (Art *a = layer->root->firstChild; a; a = a->next) select(*a);
}

}  // namespace smear
