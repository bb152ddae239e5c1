// The host's general suites: plug-in options, memory handles, undo, random
// numbers, preferences and document. Tools, real maths and strings live in
// their own sources.
#include <cstring>

#include "host.h"

namespace smear {

namespace {

const char kPlugin[] = "AI Plugin Suite";
const char kMemory[] = "AI MdMemory Suite";
const char kUndo[] = "AI Undo Suite";
const char kPreference[] = "AI Preference Suite";
const char kDocument[] = "AI Document Suite";

// ---- Plug-in options

SPErr getPluginOptions(SPPluginRef plugin, ASInt32 *options) {
    if (SPErr e = enterSuite(kPlugin, "GetPluginOptions")) return e;
    if (plugin != currentHost().pluginRef() || options == nullptr) return kBadParameterErr;
    *options = currentHost().pluginOptions;
    return kNoErr;
}

SPErr setPluginOptions(SPPluginRef plugin, ASInt32 options) {
    if (SPErr e = enterSuite(kPlugin, "SetPluginOptions", std::to_string(options))) return e;
    if (plugin != currentHost().pluginRef()) return kBadParameterErr;
    currentHost().pluginOptions = options;
    return kNoErr;
}

SPErr getPluginName(SPPluginRef plugin, const char **name) {
    if (SPErr e = enterSuite(kPlugin, "GetPluginName")) return e;
    if (plugin != currentHost().pluginRef() || name == nullptr) return kBadParameterErr;
    *name = "Smearcraft";
    return kNoErr;
}

// ---- Memory handles

MemoryBlock *findBlock(AIMdMemoryHandle handle) {
    auto &handles = currentHost().memoryHandles;
    auto it = handles.find(handle);
    return it == handles.end() ? nullptr : it->second.get();
}

SPErr newHandle(size_t size, AIMdMemoryHandle *handle) {
    if (SPErr e = enterSuite(kMemory, "MdMemoryNewHandle", std::to_string(size))) return e;
    if (handle == nullptr) return kBadParameterErr;
    *handle = newMemoryHandle(size);
    return kNoErr;
}

SPErr disposeHandle(AIMdMemoryHandle handle) {
    if (SPErr e = enterSuite(kMemory, "MdMemoryDisposeHandle")) return e;
    if (findBlock(handle) == nullptr) return kBadParameterErr;  // never allocated, or released twice
    currentHost().memoryHandles.erase(handle);
    return kNoErr;
}

SPErr getSize(AIMdMemoryHandle handle, size_t *size) {
    if (SPErr e = enterSuite(kMemory, "MdMemoryGetSize")) return e;
    MemoryBlock *block = findBlock(handle);
    if (block == nullptr || size == nullptr) return kBadParameterErr;
    *size = block->bytes.size();
    return kNoErr;
}

SPErr resize(AIMdMemoryHandle handle, size_t newSize) {
    if (SPErr e = enterSuite(kMemory, "MdMemoryResize", std::to_string(newSize))) return e;
    MemoryBlock *block = findBlock(handle);
    if (block == nullptr) return kBadParameterErr;
    block->bytes.resize(newSize == 0 ? 1 : newSize, 0);
    block->master = block->bytes.data();
    return kNoErr;
}

// ---- Undo

SPErr setUndoText(const char *, const char *) { return enterSuite(kUndo, "SetUndoText"); }

SPErr closeUndoStep() {
    if (SPErr e = enterSuite(kUndo, "CloseUndoStep")) return e;
    currentHost().closeUndoStep();
    return kNoErr;
}

SPErr undoChanges() {
    if (SPErr e = enterSuite(kUndo, "UndoChanges")) return e;
    return currentHost().undo() ? kNoErr : kBadParameterErr;
}

// ---- Random numbers

AIReal floatRnd() {
    currentHost().log.record("AI Random Suite", "FloatRnd");
    return currentHost().random.next();
}
void setRndSeed(ASInt32 seed) { currentHost().random.seed(uint32_t(seed)); }
ASInt32 getRndSeed() { return ASInt32(currentHost().random.seedValue()); }

// ---- Preferences (not called by the plug-in; kept in memory)

std::map<std::string, ASInt32> &preferences() { return currentHost().preferences; }

SPErr getIntegerPreference(const char *prefix, const char *suffix, ASInt32 *value) {
    if (SPErr e = enterSuite(kPreference, "GetIntegerPreference")) return e;
    if (prefix == nullptr || suffix == nullptr || value == nullptr) return kBadParameterErr;
    auto it = preferences().find(std::string(prefix) + "/" + suffix);
    if (it == preferences().end()) return kNoSuchEntryErr;
    *value = it->second;
    return kNoErr;
}

SPErr putIntegerPreference(const char *prefix, const char *suffix, ASInt32 value) {
    if (SPErr e = enterSuite(kPreference, "PutIntegerPreference")) return e;
    if (prefix == nullptr || suffix == nullptr) return kBadParameterErr;
    preferences()[std::string(prefix) + "/" + suffix] = value;
    return kNoErr;
}

// ---- Document (not called by the plug-in)

SPErr getDocument(AIDocumentHandle *document) {
    if (SPErr e = enterSuite(kDocument, "GetDocument")) return e;
    if (document == nullptr) return kBadParameterErr;
    *document = reinterpret_cast<AIDocumentHandle>(&currentHost().document());
    return kNoErr;
}

SPErr getDocumentFileName(char *name, ASInt32 maxLength) {
    if (SPErr e = enterSuite(kDocument, "GetDocumentFileName")) return e;
    if (name == nullptr || maxLength <= 0) return kBadParameterErr;
    std::strncpy(name, "Untitled", size_t(maxLength) - 1);
    name[maxLength - 1] = '\0';
    return kNoErr;
}

const AIPluginSuite pluginSuite = {getPluginOptions, setPluginOptions, getPluginName};
const AIMdMemorySuite memorySuite = {newHandle, disposeHandle, getSize, resize};
const AIUndoSuite undoSuite = {setUndoText, closeUndoStep, undoChanges};
const AIRandomSuite randomSuite = {floatRnd, setRndSeed, getRndSeed};
const AIPreferenceSuite preferenceSuite = {getIntegerPreference, putIntegerPreference};
const AIDocumentSuite documentSuite = {getDocument, getDocumentFileName};


}  // namespace

void registerRealMathSuite(SuiteRegistry &r);
void registerToolSuite(SuiteRegistry &r);
void registerUserSuite(SuiteRegistry &r);

void registerHostSuites(SuiteRegistry &r) {
    r.add(kAIPluginSuite, kAIPluginSuiteVersion, &pluginSuite);
    r.add(kAIMdMemorySuite, kAIMdMemorySuiteVersion, &memorySuite);
    r.add(kAIUndoSuite, kAIUndoSuiteVersion, &undoSuite);
    r.add(kAIRandomSuite, kAIRandomSuiteVersion, &randomSuite);
    r.add(kAIPreferenceSuite, kAIPreferenceSuiteVersion, &preferenceSuite);
    r.add(kAIDocumentSuite, kAIDocumentSuiteVersion, &documentSuite);
    registerRealMathSuite(r);
    registerUserSuite(r);
    registerToolSuite(r);
}

}  // namespace smear
