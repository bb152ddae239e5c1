// Why a stroke changed nothing, in words a user acts on: so that a stroke
// that did nothing is never taken for one that worked.
#pragma once

#include <string>
#include <vector>

#include "host.h"

namespace smear {

// The plain reason a stroke of tool `toolId` (its ToolId) over `points`
// (document coordinates, the mouse down first) at `pressures` changed
// nothing: nothing selected; Swatches or Styles on a drawing without
// swatches or named graphic styles; a mesh tool with no mesh selected; a
// pen pressure of 0 all along that pressureModification scales every
// change by; or no selected object within the brush's reach. Empty when
// none of these holds. Reads the plug-in's options record, which takes an
// unload and a reload of the plug-in, as the host's own reading does.
std::string whyStrokeChangedNothing(Host &host, int toolId, const std::vector<AIRealPoint> &points,
                                    const std::vector<ASInt16> &pressures);

}  // namespace smear
