// The platform suites: basic (suite acquisition with counts, string compare,
// blocks), blocks and access.
#include <cstdlib>
#include <cstring>

#include "host.h"

namespace smear {

namespace {

const char kBasic[] = "SP Basic Suite";
const char kBlocks[] = "SP Blocks Suite";
const char kAccess[] = "SP Access Suite";

// "name version" for the call log, built only when it is recorded.
std::string suiteArgs(const char *name, ASInt32 version) {
    if (!currentHost().log.enabled()) return {};
    return std::string(name ? name : "") + " " + std::to_string(version);
}

SPErr acquireSuite(const char *name, ASInt32 version, const void **suite) {
    if (SPErr e = enterSuite(kBasic, "AcquireSuite", suiteArgs(name, version))) return e;
    Host &host = currentHost();
    if (name == nullptr || suite == nullptr) return kBadParameterErr;
    const void *table = host.suites.find(name, version);
    if (table == nullptr || host.faults.isUnavailable(name)) return kSuiteNotFoundErr;
    *suite = table;
    auto held = host.suites.held.find(std::string_view(name));
    if (held == host.suites.held.end()) held = host.suites.held.emplace(name, 0).first;
    ++held->second;
    ++host.suites.acquisitions;
    return kNoErr;
}

SPErr releaseSuite(const char *name, ASInt32 version) {
    if (SPErr e = enterSuite(kBasic, "ReleaseSuite", suiteArgs(name, version))) return e;
    Host &host = currentHost();
    if (name == nullptr || host.suites.find(name, version) == nullptr) return kSuiteNotFoundErr;
    auto it = host.suites.held.find(std::string_view(name));
    if (it == host.suites.held.end() || it->second == 0) return kBadParameterErr;  // never acquired
    --it->second;
    ++host.suites.releases;
    return kNoErr;
}

ASBoolean isEqual(const char *a, const char *b) {
    if (a == nullptr || b == nullptr) return a == b;
    return std::strcmp(a, b) == 0;
}

// New blocks are filled with a pattern, not zeroes, so that a field the
// plug-in forgets to write shows up instead of passing as 0 by luck.
const unsigned char kFreshBlockFill = 0xA5;

SPErr allocate(const char *suite, size_t size, void **block) {
    if (SPErr e = enterSuite(suite, "AllocateBlock", std::to_string(size))) return e;
    if (block == nullptr) return kBadParameterErr;
    void *p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) return kOutOfMemoryErr;
    std::memset(p, kFreshBlockFill, size);
    currentHost().blocks[p] = size;
    *block = p;
    return kNoErr;
}

SPErr release(const char *suite, void *block) {
    if (SPErr e = enterSuite(suite, "FreeBlock")) return e;
    auto &blocks = currentHost().blocks;
    auto it = blocks.find(block);
    if (it == blocks.end()) return kBadParameterErr;
    blocks.erase(it);
    std::free(block);
    return kNoErr;
}

SPErr reallocate(const char *suite, void *block, size_t newSize, void **newBlock) {
    if (SPErr e = enterSuite(suite, "ReallocateBlock", std::to_string(newSize))) return e;
    auto &blocks = currentHost().blocks;
    auto it = blocks.find(block);
    if (it == blocks.end() || newSize == 0 || newBlock == nullptr) return kBadParameterErr;
    void *p = std::realloc(block, newSize);
    if (p == nullptr) return kOutOfMemoryErr;
    blocks.erase(it);
    blocks[p] = newSize;
    *newBlock = p;
    return kNoErr;
}

SPErr basicAllocate(size_t size, void **block) { return allocate(kBasic, size, block); }
SPErr basicFree(void *block) { return release(kBasic, block); }
SPErr basicReallocate(void *block, size_t size, void **newBlock) { return reallocate(kBasic, block, size, newBlock); }

SPErr blocksAllocate(size_t size, const char *, void **block) { return allocate(kBlocks, size, block); }
SPErr blocksFree(void *block) { return release(kBlocks, block); }
SPErr blocksReallocate(void *block, size_t size, const char *, void **newBlock) {
    return reallocate(kBlocks, block, size, newBlock);
}

SPErr getPluginAccess(SPPluginRef plugin, SPAccessRef *access) {
    if (SPErr e = enterSuite(kAccess, "GetPluginAccess")) return e;
    if (plugin != currentHost().pluginRef() || access == nullptr) return kBadParameterErr;
    *access = reinterpret_cast<SPAccessRef>(plugin);
    return kNoErr;
}

SPErr getAccessInfo(SPAccessRef access, SPPlatformAccessInfo *info) {
    if (SPErr e = enterSuite(kAccess, "GetAccessInfo")) return e;
    Host &host = currentHost();
    if (access != reinterpret_cast<SPAccessRef>(host.pluginRef()) || info == nullptr) return kBadParameterErr;
    info->moduleInstance = const_cast<void *>(host.moduleInstance());
    info->resourceAccess = info->moduleInstance;
    return kNoErr;
}

SPErr getPluginName(SPPluginRef plugin, const char **name) {
    if (SPErr e = enterSuite(kAccess, "GetPluginName")) return e;
    if (plugin != currentHost().pluginRef() || name == nullptr) return kBadParameterErr;
    *name = "Smearcraft";
    return kNoErr;
}

SPBasicSuite basicTable = {acquireSuite, releaseSuite, isEqual, basicAllocate, basicFree, basicReallocate};
const SPBlocksSuite blocksSuite = {blocksAllocate, blocksFree, blocksReallocate};
const SPAccessSuite accessSuite = {getPluginAccess, getAccessInfo, getPluginName};

}  // namespace

SPBasicSuite *Host::basicSuite() { return &basicTable; }

void registerPlatformSuites(SuiteRegistry &r) {
    r.add(kSPBasicSuite, kSPBasicSuiteVersion, &basicTable);
    r.add(kSPBlocksSuite, kSPBlocksSuiteVersion, &blocksSuite);
    r.add(kSPAccessSuite, kSPAccessSuiteVersion, &accessSuite);
}

}  // namespace smear
