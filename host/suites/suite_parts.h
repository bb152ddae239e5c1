// The single suites that make up the art and paint families; each source
// registers its own table, and registerArtSuites / registerPaintSuites call
// them all.
#pragma once

#include "host.h"

namespace smear {

void registerArtObjectSuite(SuiteRegistry &r);       // AI Art Suite
void registerPathSuites(SuiteRegistry &r);           // path, transform art, shape construction
void registerMatchingArtSuite(SuiteRegistry &r);
void registerMeshSuites(SuiteRegistry &r);           // mesh, mesh vertex
void registerLayerSuite(SuiteRegistry &r);
void registerTagSuite(SuiteRegistry &r);

void registerStyleSuites(SuiteRegistry &r);          // path style, blend style
void registerArtStyleSuite(SuiteRegistry &r);
void registerSwatchListSuite(SuiteRegistry &r);

}  // namespace smear
