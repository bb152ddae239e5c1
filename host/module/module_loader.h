// Loads the plug-in module as the host does: its property list first, then
// the module itself and the entry point the list names.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostapi.h"
#include "resources.h"

namespace smear {

// Checks a plug-in property list: prefix 1, version 0, a 'kind' of 'SPEA', an
// 'ivrs' of 2, and returns the entry name of 'wx86'.
bool parsePipl(const std::vector<uint8_t> &bytes, std::string &entryName, std::string &error);

// The resource file read beside a module on Linux: same folder and base name, ".res".
std::string resourcePathFor(const std::string &modulePath);

class PluginModule {
public:
    // Loads the module the way the host does: reads its resources (Linux: the
    // .res file beside the .so, same base name; Windows: the module file's own
    // PE resources), checks the PIPL 16000, then loads the module and resolves
    // the entry name. nullptr and a message when any of that fails.
    static std::unique_ptr<PluginModule> open(const std::string &path, std::string &error);
    ~PluginModule();  // unloads
    PluginModule(const PluginModule &) = delete;
    PluginModule &operator=(const PluginModule &) = delete;

    PluginMainProc entry() const { return entry_; }
    const ResourceSet &resources() const { return resources_; }
    // The plug-in's module instance handle: the HMODULE on Windows; on Linux
    // this module's ResourceSet, from which the stand-in LoadCursorA reads.
    void *instanceHandle() const;
    const std::string &path() const { return path_; }

private:
    PluginModule() = default;

    std::string path_;
    ResourceSet resources_;
    void *handle_ = nullptr;
    PluginMainProc entry_ = nullptr;
};

}  // namespace smear
