// Naming tools as a user does: the title without its prefix, in any case,
// with a hyphen, underscore or blank between words ("rotate",
// "stroke-weight", "Gradient Mesh").
#pragma once

#include <deque>
#include <string>

#include "host.h"

namespace smear {

// The title without its leading blanks and its first word (the set's
// prefix), as a command-line name: lower case, words joined by hyphens.
std::string shortToolName(const std::string &title);

// Lower case, with runs of blanks, hyphens and underscores made one blank.
std::string normalizeToolName(const std::string &name);

// The palette position of the named tool (its ToolId after one start-up), or -1 with a
// message that lists the names there are.
int findTool(const std::deque<PaletteTool> &palette, const std::string &name, std::string &error);

// The ToolId of palette entry `index`: its place among the tools of its
// group, in the order they were added.
int toolIdOf(const std::deque<PaletteTool> &palette, int index);

// The handle the host gave the plug-in for palette entry `toolId`.
AIToolHandle toolHandle(Host &host, int toolId);

}  // namespace smear
