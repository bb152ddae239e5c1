// How smearhost shows what the plug-in did: result codes, the tool palette,
// dialogs and alerts. The same text on both builds, so that their reports can
// be compared line by line.
#pragma once

#include <deque>
#include <iosfwd>
#include <string>

#include "host.h"

namespace smear {

// A result as the host's conventions read it: a number when its upper 16
// bits are all 0 or all 1 ("0", "-108"), otherwise four characters, first
// character in the most significant byte ("'STOP'").
std::string formatCode(SPErr code);

// Text with its quotes and any control characters escaped.
std::string quoted(const std::string &text);

// The palette as the host shows it: each tool group with its tools in order,
// their titles, tooltips and icon resource ids.
void printPalette(std::ostream &out, const std::deque<PaletteTool> &palette);

// One dialog (title, name, the item that closed it, every item with text) or alert.
void printUiEvent(std::ostream &out, const UiEvent &event, const std::string &indent);

}  // namespace smear
