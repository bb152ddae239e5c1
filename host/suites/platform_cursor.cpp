// Linux stand-ins of the two user32 calls the plug-in makes outside the
// host's suites. The program exports them and the loaded module binds to
// them, so the plug-in's source is the same on both builds.
#ifndef _WIN32

#include <cstdint>

#include "host.h"

namespace {
// Like the window system's, the current cursor is one for the whole program.
void *g_currentCursor = nullptr;
}  // namespace

// `instance` is the module's ResourceSet (see PluginModule::instanceHandle);
// `name` a resource number as MAKEINTRESOURCE gives it. The handle is the
// cursor group's bytes, which live as long as the module.
extern "C" __attribute__((visibility("default"))) void *LoadCursorA(void *instance, const char *name) {
    auto id = reinterpret_cast<uintptr_t>(name);
    if (instance == nullptr || id == 0 || id > 0xFFFF) return nullptr;  // names by text are not used
    const auto *resources = static_cast<const smear::ResourceSet *>(instance);
    auto group = resources->cursorGroup(uint16_t(id));
    if (!group || group->empty()) return nullptr;
    smear::currentHost().lastCursorId = int(id);
    return const_cast<uint8_t *>(resources->find(smear::kRtGroupCursor, uint16_t(id))->data());
}

extern "C" __attribute__((visibility("default"))) void *SetCursor(void *cursor) {
    void *previous = g_currentCursor;
    g_currentCursor = cursor;
    if (cursor != nullptr) smear::currentHost().cursorSet = true;
    return previous;
}

#endif
