// A picture of an open dialog, as the user would see it: the frame with its
// title, every item in its rectangle with its text or value, and the focus.
#pragma once

#include <string>

namespace smear {

class Dialog;

// An SVG document of the dialog; each item also carries its id and kind as a
// tooltip (<title>) and in data-id / data-kind attributes.
std::string drawDialogSvg(const Dialog &dialog);

}  // namespace smear
