#include "host.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <cstring>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "dialog_manager.h"
#include "module_loader.h"

namespace smear {

namespace {
// The plug-in reference the host hands out; only its identity matters.
struct SPOpaquePluginStorage {
    int unused = 0;
} g_pluginRef;

// Memory freed in one message stays with the process for the next. The C
// library would hand a large freed block back to the system and fault it
// in again, page by page, when the next mouse down asks for as much: over
// 100,000 objects that was a fifth of a mouse down. Set once: it is the
// process's allocator, and the host is the process.
void keepFreedMemory() {
#if defined(__GLIBC__)
    static const bool kept = [] {
        return mallopt(M_MMAP_THRESHOLD, 32 << 20) == 1 && mallopt(M_TRIM_THRESHOLD, 16 << 20) == 1;
    }();
    (void)kept;
#endif
}
}  // namespace

// ---- SuiteRegistry

void SuiteRegistry::add(const std::string &name, ASInt32 version, const void *table) {
    tables_[name][version] = table;
}

const void *SuiteRegistry::find(std::string_view name, ASInt32 version) const {
    const auto named = tables_.find(name);
    if (named == tables_.end()) return nullptr;
    const auto it = named->second.find(version);
    return it == named->second.end() ? nullptr : it->second;
}

bool SuiteRegistry::hasName(std::string_view name) const { return tables_.count(name) != 0; }

int SuiteRegistry::outstanding() const {
    int n = 0;
    for (const auto &entry : held) n += entry.second;
    return n;
}

// ---- RandomSource: a 64-bit linear congruential generator whose top 24 bits
// give the real, so both builds draw exactly the same sequence.

void RandomSource::seed(uint32_t s) {
    seed_ = s;
    state_ = (uint64_t(s) << 16) ^ 0x5DEECE66DULL;
}

AIReal RandomSource::next() {
    ++draws_;
    if (!queued_.empty()) {
        AIReal value = queued_.front();
        queued_.pop_front();
        return value;
    }
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return AIReal(uint32_t(state_ >> 40)) * (1.0f / 16777216.0f);
}

// ---- Host

Host::Host() : document_(std::make_unique<Document>()) {
    keepFreedMemory();
    g_currentHost = this;
    dialogs = std::make_unique<DialogManager>(resources_, transcript);
    random.seed(1);
    registerPlatformSuites(suites);
    registerHostSuites(suites);
    registerArtSuites(suites);
    registerPaintSuites(suites);
    registerDialogSuites(suites);
}

Host::~Host() {
    // Blocks the plug-in never freed (a failed shutdown) die with the host.
    for (auto &block : blocks) std::free(const_cast<void *>(block.first));
    module_.reset();
    if (g_currentHost == this) g_currentHost = nullptr;
}

SPPluginRef Host::pluginRef() { return reinterpret_cast<SPPluginRef>(&g_pluginRef); }

bool Host::loadModule(const std::string &path, std::string &error) {
    auto module = PluginModule::open(path, error);
    if (!module) return false;
    resources_ = module->resources();
    entry_ = module->entry();
    module_ = std::move(module);
    modulePath = path;
    return true;
}

bool Host::attachLinked(PluginMainProc entry, const std::string &resPath, std::string &error) {
    ResourceSet resources;
    if (!readResFile(resPath, resources, error)) return false;
    return attachLinked(entry, resources, error);
}

bool Host::attachLinked(PluginMainProc entry, const ResourceSet &resources, std::string &error) {
    const std::vector<uint8_t> *pipl = resources.find("PIPL", 16000);
    std::string entryName;
    if (pipl == nullptr) {
        error = "no plug-in property list (PIPL 16000)";
        return false;
    }
    if (!parsePipl(*pipl, entryName, error)) return false;
    resources_ = resources;
    entry_ = entry;
    modulePath.clear();
    return true;
}

void Host::unloadModule() {
    if (!module_) return;
    module_.reset();
    entry_ = nullptr;
}

bool Host::reloadModule(std::string &error) {
    if (module_ || modulePath.empty()) return entry_ != nullptr;
    return loadModule(modulePath, error);
}

const void *Host::moduleInstance() const {
    if (module_) return module_->instanceHandle();
#ifdef _WIN32
    return nullptr;  // a linked plug-in has no module of its own
#else
    return &resources_;
#endif
}

SPErr Host::send(const char *caller, const char *selector, void *message) {
    g_currentHost = this;
    if (entry_ == nullptr) return kBadParameterErr;
    return entry_(caller, selector, message);
}

SPErr Host::sendBasic(const char *caller, const char *selector) {
    SPMessageData message{kSPValidSPMessageData, pluginRef(), pluginGlobals, basicSuite()};
    SPErr result = send(caller, selector, &message);
    pluginGlobals = message.globals;  // the plug-in writes its slot at unload and shutdown
    // A plug-in that has shut down takes its tools with it; a later start-up
    // registers them afresh.
    if (std::strcmp(caller, kSPInterfaceCaller) == 0 && std::strcmp(selector, kSPInterfaceShutdownSelector) == 0)
        palette.clear();
    return result;
}

SPErr Host::sendTool(const char *selector, AIToolHandle tool, AIRealPoint cursor, ASInt16 pressure,
                     ASInt32 modifierBits) {
    AIToolMessage message{};
    message.d = SPMessageData{kSPValidSPMessageData, pluginRef(), pluginGlobals, basicSuite()};
    message.tool = tool;
    message.cursor = cursor;
    message.pressure = pressure;
    modifiers = modifierBits;
    // Everything a tool does between mouse down and the closing of the undo
    // step is one undoable change.
    if (std::strcmp(selector, kAIToolMouseDownSelector) == 0) openUndoStep();
    SPErr result = send(kAIToolCaller, selector, &message);
    pluginGlobals = message.d.globals;
    return result;
}

namespace {

// Adds the objects a store gained since `seen`; false when it shrank.
template <class T>
bool indexStore(const std::deque<std::unique_ptr<T>> &store, StoreKind kind, size_t &seen,
                std::unordered_map<const void *, StoreKind> &objects) {
    if (store.size() < seen) return false;
    for (; seen < store.size(); ++seen) objects.emplace(store[seen].get(), kind);
    return true;
}

}  // namespace

// Art, by far the most, is found by its address in the arena (holdsArt);
// the rest by a table that grows with the stores.
const StoreKind *Host::kindOfLive(const void *object) {
    const Document &doc = *document_;
    if (live_.document != &doc) {
        live_.objects.clear();
        std::fill(std::begin(live_.seen), std::end(live_.seen), size_t(0));
        live_.document = &doc;
    }
    size_t *seen = live_.seen;
    auto &objects = live_.objects;
    const bool grown = indexStore(doc.layerStore, StoreKind::Layer, seen[0], objects) &&
                       indexStore(doc.swatchStore, StoreKind::Swatch, seen[1], objects) &&
                       indexStore(doc.styleStore, StoreKind::Style, seen[2], objects) &&
                       indexStore(doc.customColorStore, StoreKind::CustomColor, seen[3], objects) &&
                       indexStore(doc.gradientStore, StoreKind::Gradient, seen[4], objects) &&
                       indexStore(doc.patternStore, StoreKind::Pattern, seen[5], objects);
    if (!grown) {  // a store was emptied: start over
        forgetLiveObjects();
        return kindOfLive(object);
    }
    auto it = objects.find(object);
    return it == objects.end() ? nullptr : &it->second;
}

void recordCall(Host &host, const char *suite, const char *function) { host.log.record(suite, function); }

AIMeshVertexHandle Host::vertexHandle(Art &mesh, size_t index) {
    MeshVertex *v = &mesh.vertices[index];  // the caller checked the index
    vertexPlaces_[v] = VertexPlace{&mesh, index};
    return reinterpret_cast<AIMeshVertexHandle>(v);
}

MeshVertex *Host::meshVertex(AIMeshVertexHandle h, Art **mesh) {
    if (mesh) *mesh = nullptr;
    auto it = vertexPlaces_.find(h);
    if (it == vertexPlaces_.end()) return nullptr;
    Art *owner = it->second.mesh;
    const size_t index = it->second.index;
    if (!holdsArt(owner) || owner->disposed || owner->type != kMeshArt || index >= owner->vertices.size() ||
        reinterpret_cast<const void *>(&owner->vertices[index]) != h)
        return nullptr;
    if (mesh) *mesh = owner;
    return &owner->vertices[index];
}

void Host::replaceDocument(std::unique_ptr<Document> doc) {
    forgetLiveObjects();
    vertexPlaces_.clear();
    document_ = std::move(doc);
}

void Host::openUndoStep() { document_->openUndoStep(); }

void Host::closeUndoStep() { document_->closeUndoStep(); }

bool Host::undo() {
    if (!document_->undo()) return false;
    // What the step made is gone: its addresses are no longer the document's.
    forgetLiveObjects();
    vertexPlaces_.clear();
    return true;
}

bool Host::redo() {
    if (!document_->redo()) return false;
    forgetLiveObjects();
    vertexPlaces_.clear();
    return true;
}

AIMdMemoryHandle newMemoryHandle(size_t bytes, const void *from) {
    auto block = std::make_unique<MemoryBlock>();
    const auto *source = static_cast<const unsigned char *>(from);
    if (source && bytes > 0) block->bytes.assign(source, source + bytes);
    else block->bytes.assign(bytes == 0 ? 1 : bytes, 0);
    block->master = block->bytes.data();
    auto handle = reinterpret_cast<AIMdMemoryHandle>(&block->master);
    currentHost().memoryHandles[handle] = std::move(block);
    return handle;
}

}  // namespace smear
