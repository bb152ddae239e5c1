#include "module_loader.h"

#include <sys/stat.h>

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "byte_reader.h"

namespace smear {

namespace {

constexpr uint16_t kPiplId = 16000;

// Four-character codes as the list stores them: little-endian 32-bit values,
// first character most significant.
constexpr uint32_t fourCc(const char (&s)[5]) {
    return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 | uint32_t(uint8_t(s[2])) << 8 |
           uint32_t(uint8_t(s[3]));
}

std::string fourCcText(uint32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) text += char(code >> shift & 0xFF);
    return "'" + text + "'";
}

bool isRegularFile(const std::string &path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

bool parsePipl(const std::vector<uint8_t> &bytes, std::string &entryName, std::string &error) {
    try {
        ByteReader r(bytes, "plug-in property list");
        if (uint16_t prefix = r.u16(); prefix != 1) r.fail("prefix " + std::to_string(prefix) + ", expected 1");
        if (uint32_t version = r.u32(); version != 0)
            r.fail("list version " + std::to_string(version) + ", expected 0");
        uint32_t count = r.u32();
        bool haveKind = false, haveVersion = false, haveEntry = false;
        std::string name;
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t vendor = r.u32();
            uint32_t key = r.u32();
            r.u32();  // property id
            uint32_t length = r.u32();
            ByteReader data(r.bytes(length), length, "plug-in property");
            r.skip(std::min<size_t>((4 - length % 4) % 4, r.remaining()));  // data is padded to 4 bytes
            if (vendor != fourCc("ADBE")) continue;
            if (key == fourCc("kind")) {
                uint32_t kind = data.u32();
                if (kind != fourCc("SPEA")) r.fail("kind " + fourCcText(kind) + ", expected 'SPEA'");
                haveKind = true;
            } else if (key == fourCc("ivrs")) {
                uint32_t version = data.u32();
                if (version != 2) r.fail("interface version " + std::to_string(version) + ", expected 2");
                haveVersion = true;
            } else if (key == fourCc("wx86")) {
                name.clear();
                for (char c = char(data.u8()); c != 0; c = char(data.u8())) name += c;
                if (name.empty()) r.fail("empty entry name");
                haveEntry = true;
            }
        }
        if (!haveKind) r.fail("no 'kind' property");
        if (!haveVersion) r.fail("no 'ivrs' property");
        if (!haveEntry) r.fail("no 'wx86' entry name");
        entryName = name;
        return true;
    } catch (const FormatError &e) {
        error = e.what();
        return false;
    }
}

std::string resourcePathFor(const std::string &modulePath) {
    size_t slash = modulePath.find_last_of("/\\");
    size_t dot = modulePath.find_last_of('.');
    bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? modulePath.substr(0, dot) : modulePath) + ".res";
}

std::unique_ptr<PluginModule> PluginModule::open(const std::string &path, std::string &error) {
    if (!isRegularFile(path)) {
        error = "no plug-in module at " + path;
        return nullptr;
    }
    std::unique_ptr<PluginModule> module(new PluginModule);
    module->path_ = path;
    std::string why;
#ifdef _WIN32
    bool haveResources = readPeResources(path, module->resources_, why);
#else
    bool haveResources = readResFile(resourcePathFor(path), module->resources_, why);
#endif
    if (!haveResources) {
        error = "cannot read the resources of " + path + ": " + why;
        return nullptr;
    }
    const std::vector<uint8_t> *pipl = module->resources_.find("PIPL", kPiplId);
    if (pipl == nullptr) {
        error = path + " has no plug-in property list (PIPL 16000)";
        return nullptr;
    }
    std::string entryName;
    if (!parsePipl(*pipl, entryName, why)) {
        error = path + ": " + why;
        return nullptr;
    }
#ifdef _WIN32
    HMODULE handle = LoadLibraryA(path.c_str());
    if (handle == nullptr) {
        error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    module->handle_ = handle;
    void *entry = reinterpret_cast<void *>(GetProcAddress(handle, entryName.c_str()));
#else
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char *reason = dlerror();
        error = "cannot load " + path + ": " + (reason != nullptr ? reason : "unknown reason");
        return nullptr;
    }
    module->handle_ = handle;
    void *entry = dlsym(handle, entryName.c_str());
#endif
    if (entry == nullptr) {
        error = path + " has no entry point named " + entryName;
        return nullptr;  // the destructor unloads the module
    }
    module->entry_ = reinterpret_cast<PluginMainProc>(entry);
    return module;
}

PluginModule::~PluginModule() {
    if (handle_ == nullptr) return;
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
}

void *PluginModule::instanceHandle() const {
#ifdef _WIN32
    return handle_;
#else
    return const_cast<ResourceSet *>(&resources_);
#endif
}

}  // namespace smear
