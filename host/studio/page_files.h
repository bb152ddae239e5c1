// The page's files (HTML, script, style), embedded in the program when it is
// built from host/studio/page/.
#pragma once

#include <cstddef>

namespace smear {

struct PageFile {
    const char *name;         // "studio.html"
    const char *contentType;  // "text/html; charset=utf-8"
    const unsigned char *data;
    size_t size;
};

// The files, ending with one whose name is null.
const PageFile *studioPageFiles();

}  // namespace smear
