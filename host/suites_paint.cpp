#include "host.h"

namespace smear {

void registerPaintSuites(SuiteRegistry &) {}

}  // namespace smear
