// Every option a tool's dialog shows, as the plug-in builds that dialog:
// the record field it edits, the label beside it, its limits and popup
// entries, and the value it starts with. For `smearhost options` and for
// anyone who needs the names `--set` and session "set" steps take.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "host.h"
#include "option_fields.h"

namespace smear {

struct OptionDescription {
    const OptionField *field = nullptr;
    std::string label;                // the check box's text, or the label beside the field; empty for none
    double min = 0, max = 0;          // number fields: the dialog's limits
    int decimals = 0;                 // number fields: the decimals the dialog shows
    std::vector<std::string> entries; // popups: the entries in order (their numbers are 0, 1, ...)
    double defaultValue = 0;          // what the record holds after start-up
};

// The plug-in hands its options record to the host at unload and takes it
// back at reload; the host reads it in between without unloading. False
// when the plug-in gave no record.
bool withPluginGlobals(Host &host, const std::function<void(void *)> &use);

// Opens the options dialog of palette entry `paletteIndex` on a started
// plug-in, reads it and cancels it. False, with `error`, when no dialog
// opened or the record could not be read.
bool describeToolOptions(Host &host, int paletteIndex, std::vector<OptionDescription> &out, std::string &error);

// The catalogue as `smearhost options` prints it: the tool's own options,
// then the brush options every tool shares.
void printToolOptions(std::ostream &out, const std::string &toolTitle, const std::vector<OptionDescription> &options);

}  // namespace smear
