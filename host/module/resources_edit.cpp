#include "resources.h"

namespace smear {

void ResourceSet::remove(uint16_t type, uint16_t id) { entries_.erase({typeName(type), "#" + std::to_string(id)}); }

}  // namespace smear
