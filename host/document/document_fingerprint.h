// Everything a person or the plug-in could tell of a document, as text: two
// documents with the same fingerprint are the same document, wherever their
// objects live. Undo is checked against it.
#pragma once

#include <string>

#include "document.h"

namespace smear {

std::string documentFingerprint(const Document &doc);

}  // namespace smear
